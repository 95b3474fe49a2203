#include "PostRound.h"

#include "PostHistory.h"
#include "RoundModel.h"
#include "TFrmPostRound.h"

PostRound::PostRound(PostHistory& history, Hooks hooks, QWidget* mainWindow)
    : QObject(mainWindow), m_history(history), m_hooks(std::move(hooks)), m_mainWindow(mainWindow)
{
    connect(&m_history, &PostHistory::postsChanged, this, [this](const QString& article) {
        if (article.isEmpty() || article == m_hooks.currentArticle())
            refresh();
    });
}

PostRound::~PostRound() = default;

TFrmPostRound* PostRound::window()
{
    if (!m_window) {
        m_window = new TFrmPostRound(m_mainWindow);
        connect(m_window, &TFrmPostRound::nextSiteRequested, this, &PostRound::nextSite);
        connect(m_window, &TFrmPostRound::siteChosen, this, [this](int position) { m_hooks.selectSite(position); });
        connect(m_window, &TFrmPostRound::markRequested, this, &PostRound::mark);
        connect(m_window, &TFrmPostRound::addressOpened, this,
                [this](const QString& address) { m_hooks.openInNewTab(address); });
        connect(m_window, &TFrmPostRound::forgetFormRequested, this, &PostRound::forgetFormRequested);
        connect(m_window, &TFrmPostRound::forgetCredentialPairsRequested, this,
                &PostRound::forgetCredentialPairsRequested);
        connect(m_window, &TFrmPostRound::continuousToggled, this, &PostRound::continuousToggled);
        connect(m_window, &TFrmPostRound::teamRequested, this, &PostRound::teamRequested);
        m_window->showContinuous(m_continuous);
        m_window->showTeamState(m_teamState);
    }
    return m_window;
}

bool PostRound::isWindowShown() const { return m_window && m_window->isVisible(); }

void PostRound::showWindow()
{
    TFrmPostRound* round = window();
    const bool wasShown = round->isVisible();
    round->show();
    round->raise();
    round->activateWindow();
    if (!wasShown)
        refresh();
}

void PostRound::refresh()
{
    if (!isWindowShown())
        return;
    const QString article = m_hooks.currentArticle();
    const bool shared = !article.isEmpty() && m_hooks.teamClaims;
    m_window->showRound(article, m_hooks.siteNames(),
                        article.isEmpty() ? QHash<QString, PostEntry>() : postsOf(article),
                        shared ? m_hooks.teamClaims(article) : QHash<QString, QString>());
    m_window->showCurrentSite(m_hooks.currentSite());
}

void PostRound::currentSiteChanged()
{
    if (isWindowShown())
        m_window->showCurrentSite(m_hooks.currentSite());
}

void PostRound::say(const QString& text)
{
    showMessage(text);
    emit message(text);
}

void PostRound::showMessage(const QString& text)
{
    if (m_window)
        m_window->showMessage(text);
}

void PostRound::showTeamState(const QString& text)
{
    m_teamState = text;
    if (m_window)
        m_window->showTeamState(text);
}

QHash<QString, PostEntry> PostRound::postsOf(const QString& article) const
{
    return withTeamPosts(article, m_history.latestPostsOf(article));
}

QHash<QString, PostEntry> PostRound::withTeamPosts(const QString& article, QHash<QString, PostEntry> posts) const
{
    if (!m_hooks.teamPosts)
        return posts;
    // A teammate's later post of a site counts; of the member's own, this
    // computer's row (it knows whether the post is stored yet).
    const QHash<QString, PostEntry> team = m_hooks.teamPosts(article);
    for (auto it = team.cbegin(); it != team.cend(); ++it) {
        const auto here = posts.constFind(it.key());
        if (here == posts.constEnd() || (!it->member.isEmpty() && it->postedAt > here->postedAt))
            posts.insert(it.key(), it.value());
    }
    return posts;
}

bool PostRound::sayIfComplete(const QString& article, const RoundModel& round, int current)
{
    if (round.siteCount() == 0 || round.nextNotPosted(current) >= 0)
        return false;
    say(tr("本轮已完成：“%1”已发布到全部 %2 个站点").arg(article).arg(round.siteCount()));
    emit roundComplete(article);
    return true;
}

void PostRound::showContinuous(bool on)
{
    m_continuous = on;
    if (m_window)
        m_window->showContinuous(on);
}

void PostRound::nextSite() { goToNextSite(m_hooks.selectSite); }

bool PostRound::goToNextSite(const std::function<void(int)>& open)
{
    const QString article = m_hooks.currentArticle();
    if (article.isEmpty()) {
        say(tr("没有当前文章：请先在文章列表中选择一篇文章"));
        return false;
    }
    const QStringList sites = m_hooks.siteNames();
    const QHash<QString, PostEntry> postsHere = m_history.latestPostsOf(article);
    RoundModel round;
    round.setRound(sites, withTeamPosts(article, postsHere));
    if (round.siteCount() == 0) {
        say(tr("站点列表是空的"));
        return false;
    }
    const int current = m_hooks.currentSite();
    if (sayIfComplete(article, round, current))
        return false;
    // A team's server hands out each site to one member: the answer comes later.
    QSet<QString> postedHere;
    for (auto it = postsHere.cbegin(); it != postsHere.cend(); ++it)
        postedHere.insert(it.key());
    QPointer<PostRound> self(this);
    auto claimed = [self, article, current, open](int next, const QString& note) {
        // An answer for an article the user has left is no longer wanted.
        if (self && self->m_hooks.currentArticle() == article)
            self->moveTo(next, current, article, open, note);
    };
    if (m_hooks.claimNext && m_hooks.claimNext(article, sites, current, postedHere, claimed))
        return true;
    // Past the list's end the round goes on from the top at once.
    moveTo(round.nextNotPosted(current), current, article, open, QString());
    return true;
}

void PostRound::moveTo(int next, int current, const QString& article, const std::function<void(int)>& open,
                       const QString& note)
{
    // A team's answer comes later: the round as it stands by then.
    if (next < 0) {
        RoundModel round;
        round.setRound(m_hooks.siteNames(), postsOf(article));
        if (!sayIfComplete(article, round, current))
            say(note.isEmpty() ? tr("其余未发布的站点都有队友正在发布") : note);
        return;
    }
    open(next);
    QStringList parts;
    if (next <= current) {
        RoundModel round;
        round.setRound(m_hooks.siteNames(), postsOf(article));
        const int left = round.siteCount() - round.postedCount();
        parts << tr("已到站点列表末尾，从列表开头继续；还有 %1 个站点未发布“%2”").arg(left).arg(article);
    }
    if (!note.isEmpty())
        parts << note;
    say(parts.join(tr("；")));
}

int PostRound::peekNextSite() const
{
    const QString article = m_hooks.currentArticle();
    if (article.isEmpty())
        return -1;
    // Sites a teammate works on are passed by, as the server would.
    QHash<QString, PostEntry> taken = postsOf(article);
    if (m_hooks.teamClaims) {
        const QHash<QString, QString> claims = m_hooks.teamClaims(article);
        for (auto it = claims.cbegin(); it != claims.cend(); ++it)
            taken.insert(it.key(), PostEntry());
    }
    RoundModel round;
    round.setRound(m_hooks.siteNames(), taken);
    const int current = m_hooks.currentSite();
    const int next = round.siteCount() > 0 ? round.nextNotPosted(current) : -1;
    return next == current ? -1 : next;
}

void PostRound::mark(int position, bool posted)
{
    const QString article = m_hooks.currentArticle();
    const QStringList sites = m_hooks.siteNames();
    if (article.isEmpty() || position < 0 || position >= sites.size())
        return;
    if (posted)
        m_history.markPosted(sites.at(position), article);
    else
        m_history.unmarkPosted(sites.at(position), article);
}
