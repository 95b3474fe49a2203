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
        m_window->showContinuous(m_continuous);
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
    m_window->showRound(article, m_hooks.siteNames(),
                        article.isEmpty() ? QHash<QString, PostEntry>() : m_history.latestPostsOf(article));
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
    RoundModel round;
    round.setRound(m_hooks.siteNames(), m_history.latestPostsOf(article));
    if (round.siteCount() == 0) {
        say(tr("站点列表是空的"));
        return false;
    }
    const int current = m_hooks.currentSite();
    // Past the list's end the round goes on from the top at once.
    const int next = round.nextNotPosted(current);
    if (next < 0) {
        say(tr("本轮已完成：“%1”已发布到全部 %2 个站点").arg(article).arg(round.siteCount()));
        emit roundComplete(article);
        return false;
    }
    open(next);
    if (next <= current) {
        const int left = round.siteCount() - round.postedCount();
        say(tr("已到站点列表末尾，从列表开头继续；还有 %1 个站点未发布“%2”").arg(left).arg(article));
    } else {
        say(QString());
    }
    return true;
}

int PostRound::peekNextSite() const
{
    const QString article = m_hooks.currentArticle();
    if (article.isEmpty())
        return -1;
    RoundModel round;
    round.setRound(m_hooks.siteNames(), m_history.latestPostsOf(article));
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
