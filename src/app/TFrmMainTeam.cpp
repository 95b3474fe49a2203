// The team's part of the main window: with team.ini, the posting round is
// shared on a PostgreSQL server. Every post, mark and taught form goes to
// the team as well as into history.sqlite; the round window shows the team's
// posts and who works on which site; "next site" is handed out by the
// server. Without team.ini none of it does anything.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ContinuousRound.h"
#include "FormMemory.h"
#include "PostHistory.h"
#include "PostRound.h"
#include "SiteController.h"
#include "SiteStore.h"
#include "TFrmPostRound.h"
#include "TFrmTeam.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TeamRound.h"

#include <QPointer>

#include <memory>

namespace {

QList<TeamFormField> teamFields(const QList<FormMemory::Field>& fields)
{
    QList<TeamFormField> shared;
    for (const FormMemory::Field& field : fields)
        shared << TeamFormField{field.locator, field.target.key(), field.form};
    return shared;
}

QList<FormMemory::Field> memoryFields(const QList<TeamFormField>& fields)
{
    QList<FormMemory::Field> known;
    for (const TeamFormField& field : fields)
        known << FormMemory::Field{field.locator, FormTarget::fromKey(field.target), field.form};
    return known;
}

}  // namespace

void TFrmMain::addTeamHooks(PostRound::Hooks& hooks)
{
    hooks.teamPosts = [this](const QString& article) {
        QHash<QString, PostEntry> posts;
        const QHash<QString, TeamPost> team = m_team->postsOf(article);
        for (const TeamPost& post : team) {
            // This member's own posts are this computer's (or another of theirs): no name to show.
            const QString member = post.member == m_team->member() ? QString() : post.member;
            posts.insert(post.site,
                         PostEntry{0, post.site, post.article, post.postedAt, post.formUrl, post.postUrl, post.byHand,
                                   QString(), member});
        }
        return posts;
    };
    hooks.teamClaims = [this](const QString& article) {
        QHash<QString, QString> claims;
        for (const TeamClaim& claim : m_team->claimsOf(article))
            if (claim.member != m_team->member())
                claims.insert(claim.site, claim.member);
        return claims;
    };
    hooks.claimNext = [this](const QString& article, const QStringList& sites, int current,
                             const QSet<QString>& postedHere, std::function<void(int, const QString&)> done) {
        if (!m_team->isConfigured())
            return false;
        m_team->claimNext(article, sites, current, postedHere, [done](const TeamRound::Claim& claim) {
            done(claim.position,
                 claim.onServer ? QString() : tr("团队服务器不可用，按本机所知选了站点，队友可能也会选它"));
        });
        return true;
    };
}

void TFrmMain::wireTeam()
{
    // Each local post's key on the server, for its later updates.
    auto keys = std::make_shared<QHash<qint64, QString>>();
    connect(m_history, &PostHistory::postRecorded, m_team, [this, keys](qint64 id, const PostEntry& entry) {
        const QString key = m_team->recordPost(entry.site, entry.article, entry.formUrl, entry.postUrl, entry.byHand);
        if (!key.isEmpty())
            keys->insert(id, key);
    });
    connect(m_history, &PostHistory::postUpdated, m_team,
            [this, keys](qint64 id, const QString& postUrl, bool submittedAgain) {
                if (const QString key = keys->value(id); !key.isEmpty())
                    m_team->updatePost(key, postUrl, submittedAgain);
            });
    connect(m_history, &PostHistory::postMarked, m_team,
            [this](const QString& site, const QString& article, bool posted) {
                if (posted)
                    m_team->recordPost(site, article, QString(), QString(), true);
                else
                    m_team->withdraw(site, article);
            });
    connect(m_formMemory, &FormMemory::taught, m_team,
            [this](const QString& site, const QString& page, const QList<FormMemory::Field>& fields) {
                m_team->teachForm(site, page, teamFields(fields));
            });

    connect(m_team, &TeamRound::changed, m_postRound, [this](const QString& article) {
        if (article == m_articles->currentArticleName())
            m_postRound->refresh();
    });
    connect(m_team, &TeamRound::onlineChanged, this, [this](bool online, const QString& reason) {
        showTeamState();
        showHint(online ? tr("已连接团队服务器") : tr("团队离线，发布先记在本机，恢复后再送出：%1").arg(reason));
    });
    connect(m_team, &TeamRound::problem, this, [this](const QString& text) { showHint(tr("团队：%1").arg(text)); });
    connect(m_postRound, &PostRound::teamRequested, this, [this] {
        TFrmTeam dialog(m_dataFolder, m_postRound->window());
        if (dialog.exec() != QDialog::Accepted)
            return;
        m_team->start(m_dataFolder);
        showTeamState();
        m_postRound->refresh();
    });
    m_team->start(m_dataFolder);
    showTeamState();
}

void TFrmMain::showTeamState()
{
    QString state;
    if (m_team->isConfigured())
        state = m_team->isOnline() ? tr("团队：%1（在线）").arg(m_team->member())
                                   : tr("团队：%1（离线）").arg(m_team->member());
    m_postRound->showTeamState(state);
}

bool TFrmMain::fetchTeamForm(TWebbrowser* browser, std::function<void(bool found)> then)
{
    if (!m_team->isConfigured())
        return false;
    const QUrl address = browser->url();
    const QString site = m_sites->store().record().siteName;
    const QString page = FormMemory::pageOf(address);
    m_team->fetchForm(site, page,
                      [self = QPointer<TFrmMain>(this), view = QPointer<TWebbrowser>(browser), address, site, page,
                       then](const QList<TeamFormField>& fields) {
                          if (!self || !view)
                              return;
                          if (!fields.isEmpty() && self->m_formMemory->formsOf(site, page).isEmpty())
                              self->m_formMemory->adopt(site, page, memoryFields(fields));
                          // Only for the page it was asked for, still shown.
                          if (view == self->PageControl->CurBrowser() && view->url() == address)
                              then(!fields.isEmpty());
                      });
    return true;
}
