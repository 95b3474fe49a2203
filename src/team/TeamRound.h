#pragma once

#include "TeamOutbox.h"
#include "TeamServer.h"
#include "TeamSettings.h"
#include "TeamTypes.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QStringList>
#include <QTimer>

#include <functional>

class HistoryDatabase;
class QThread;
class TeamLink;

// A team's shared round on a PostgreSQL server, beside the local history.
//
// Without team.ini (see TeamSettings) nothing here does anything: every
// call returns at once and the round is the local history's alone. With it,
// the connection lives in a thread of its own (TeamLink) and nothing here
// ever waits for the server: requests go out, answers come back as signals
// and callbacks on the caller's thread.
//
// - Posts: recordPost() after PostHistory::recordPost(), updatePost() after
//   PostHistory::updatePost(), recordPost(..., byHand) / withdraw() after
//   markPosted() / unmarkPosted(). Each change is queued in history.sqlite
//   first (TeamOutbox) under a key made here and sent from there; while the
//   server cannot be reached it waits, across restarts too, and the server
//   stores each change once however often it arrives.
// - The round: postsOf() and claimsOf() answer at once from what is known
//   (the team's posts and live claims, and this computer's changes the
//   server does not have yet); changed() tells when that changed, whether by
//   a teammate (the server's notification) or by an answer arriving.
// - "Next site": claimNext() asks the server for the first site after the
//   current one (wrapping to the top) without a post and without another
//   member's live claim, and claims it for ClaimSeconds; two members asking
//   at once never get the same site. Offline it chooses from what is known.
// - Forms: teachForm() shares a page's fields (one member teaches, every
//   member's F9 fills); fetchForm() reads them.
// - onlineChanged() tells whether the server is reachable, and why not.
class TeamRound : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultRetryMs = 5000;

    struct Claim {
        int position = -1;  // in the caller's list; -1: no site is free
        QString site;
        bool onServer = false;  // false: chosen from what this computer knows
        QString problem;  // why the server did not choose it
    };
    using ClaimCallback = std::function<void(const Claim&)>;
    using FormCallback = std::function<void(const QList<TeamFormField>&)>;

    explicit TeamRound(HistoryDatabase& local, QObject* parent = nullptr);
    ~TeamRound() override;

    // Reads team.ini from the data folder and connects; again after the
    // settings changed (TFrmTeam). Without a team it only stops.
    void start(const QString& dataFolder);
    void stop();

    bool isConfigured() const { return m_settings.isConfigured(); }
    bool isOnline() const { return m_online; }
    // Why the team is offline: for the hint line.
    QString offlineReason() const { return m_reason; }
    QString member() const { return m_settings.member; }
    // Changes the server does not have yet.
    int unsentCount() const { return int(m_outbox.changes().size()); }

    // Returns the post's key for updatePost(); empty without a team.
    QString recordPost(const QString& site, const QString& article, const QString& formUrl, const QString& postUrl,
                       bool byHand = false);
    void updatePost(const QString& key, const QString& postUrl, bool submittedAgain);
    // The site's posts of the article made until now no longer count, whoever made them.
    void withdraw(const QString& site, const QString& article);

    // `done` is called once, on this thread, always later than the call.
    // `postedHere`: sites this computer knows as posted (its local history).
    void claimNext(const QString& article, const QStringList& orderedSites, int currentPosition,
                   const QSet<QString>& postedHere, ClaimCallback done);
    // The latest live post of each site. The first ask for an article loads
    // it; changed() follows.
    QHash<QString, TeamPost> postsOf(const QString& article);
    QList<TeamClaim> claimsOf(const QString& article);
    // Loads the article's round again.
    void refresh(const QString& article);

    // The page's fields, whole, in fill order; none forgets the page.
    void teachForm(const QString& site, const QString& page, const QList<TeamFormField>& fields);
    // The fields as the server has them, else as last known here.
    void fetchForm(const QString& site, const QString& page, FormCallback done);

    // How soon a lost server is tried again (tests shorten it).
    void setRetryInterval(int ms) { m_retryMs = ms; }

signals:
    void changed(const QString& article);
    void onlineChanged(bool online, const QString& reason);
    // Something the user should hear of: team.ini, a refused change, the
    // local queue that could not be written.
    void problem(const QString& text);

private:
    struct Cached {
        TeamServer::Round round;
        bool loaded = false;
        bool loading = false;
        bool again = false;
        quint64 used = 0;
    };

    void ask(const std::function<bool(QSqlDatabase&, QString*)>& work,
             const std::function<void(bool, const QString&)>& done);
    void answer(quint64 id, bool ok, const QString& error);
    void linkOnlineChanged(bool online, const QString& reason);
    void queue(TeamChange::Kind kind, QJsonObject data);
    void sendChanges();
    void sent(const QList<TeamChange>& batch, const QStringList& done, const QStringList& refused);
    void load(const QString& article);
    Cached& watch(const QString& article);
    // The round as known here, without asking the server.
    QHash<QString, TeamPost> knownPosts(const QString& article) const;
    void armExpiry();
    void claimsExpired();
    Claim chooseHere(const QString& article, const QList<int>& candidates, const QStringList& sites) const;
    QList<TeamFormField> knownForm(const QString& site, const QString& page) const;

    HistoryDatabase& m_local;
    TeamOutbox m_outbox;
    TeamSettings m_settings;
    QThread* m_thread = nullptr;
    TeamLink* m_link = nullptr;
    quint64 m_generation = 0;  // answers of an earlier connection are not used
    QHash<quint64, std::function<void(bool, const QString&)>> m_asked;  // requests not answered yet
    quint64 m_askCount = 0;
    bool m_online = false;
    QString m_reason;
    int m_retryMs = DefaultRetryMs;
    QSet<QString> m_inFlight;  // keys sent, not answered yet
    QHash<QString, Cached> m_rounds;
    QHash<QByteArray, QString> m_digests;  // the articles watched, by the digest the server tells
    quint64 m_useCount = 0;
    QHash<QPair<QString, QString>, QList<TeamFormField>> m_forms;  // site and page
    QHash<QString, QString> m_articleOfPost;  // this session's posts: key -> article
    QTimer m_expiry;
};
