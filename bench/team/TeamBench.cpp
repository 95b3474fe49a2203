// The team's round at scale, on a local PostgreSQL server of the bench's own:
// 20 members, 10,000 sites, 1,000,000 posts over 1,000 articles. Measured
// through TeamRound as the round window uses it (the request goes to the
// connection's thread and the answer comes back): "next site", and loading
// the round (the team's posts and live claims of one article). An ordinary
// article has about 1,000 posts; a busy one is posted to 9,500 sites, and
// its "next site" is asked by a member that has its round and by one that
// knows none of its posts.
// Prints the median of each measure, then "figure <name> <value> <unit>" lines.
#include "HistoryDatabase.h"
#include "MedianTime.h"
#include "PostgresServer.h"
#include "TeamRound.h"
#include "TeamServerSchema.h"
#include "TeamSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Members = 20, Sites = 10000, Articles = 1000, Posts = 1000000, BusySites = 9500, Runs = 101;

bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 60000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// The posts in one statement each (no round trip per row): the busy article
// on its sites, the rest at random, and one live claim per other member.
bool fill(QSqlDatabase& db, QString* error)
{
    const QStringList statements{
        QStringLiteral("INSERT INTO qvbzevi.posts (key, site, article, member, posted_at, post_url)"
                       " SELECT gen_random_uuid(), '站点' || g, '文章0', '成员' || (g % %1),"
                       " now() - g * interval '1 second', 'http://s' || g || '.example/t/1'"
                       " FROM generate_series(0, %2 - 1) g")
            .arg(Members)
            .arg(BusySites),
        QStringLiteral("INSERT INTO qvbzevi.posts (key, site, article, member, posted_at, post_url)"
                       " SELECT gen_random_uuid(), '站点' || floor(random() * %1)::int,"
                       " '文章' || (1 + floor(random() * (%2 - 1))::int), '成员' || (g % %3),"
                       " now() - g * interval '1 second', 'http://example.org/t/' || g"
                       " FROM generate_series(1, %4) g")
            .arg(Sites)
            .arg(Articles)
            .arg(Members)
            .arg(Posts - BusySites),
        QStringLiteral("INSERT INTO qvbzevi.claims (article, site, member, until)"
                       " SELECT a, '站点' || (%1 + m), '成员' || m, now() + interval '1 hour'"
                       " FROM generate_series(1, %2 - 1) m, unnest(ARRAY['文章0', '文章1']) a")
            .arg(BusySites)
            .arg(Members),
        QStringLiteral("ANALYZE"),
    };
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PostgresServer server(PostgresServer::Durable);
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    qputenv("PGPASSFILE", QFile::encodeName(server.passFile()));
    QElapsedTimer setup;
    setup.start();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("fill"));
        db.setConnectOptions(TeamSettings::driverOptions(server.conninfo()));
        if (!db.open() || !TeamServerSchema::upgrade(db, &error) || !fill(db, &error)) {
            std::fprintf(stderr, "%s %s\n", qPrintable(db.lastError().text()), qPrintable(error));
            return 1;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    const double setupSeconds = setup.elapsed() / 1000.0;

    QTemporaryDir folder;
    HistoryDatabase local(folder.path());
    QString notice;
    if (!local.open()
        || !TeamSettings::save(folder.path(), server.conninfo(), QStringLiteral("成员0"), &notice).isEmpty())
        return 1;
    TeamRound team(local);
    team.start(folder.path());
    if (!waitFor([&] { return team.isOnline(); })) {
        std::fprintf(stderr, "offline: %s\n", qPrintable(team.offlineReason()));
        return 1;
    }
    QStringList sites;
    for (int i = 0; i < Sites; ++i)
        sites << QStringLiteral("站点%1").arg(i);

    auto load = [&](const QString& article) {
        return medianMs(Runs, [&] {
            bool changed = false;
            const QMetaObject::Connection c = QObject::connect(
                &team, &TeamRound::changed, [&](const QString& a) { changed = changed || a == article; });
            team.refresh(article);
            waitFor([&] { return changed; });
            QObject::disconnect(c);
        });
    };
    auto claim = [&](TeamRound& member, const QString& article) {
        int current = 0;
        return medianMs(Runs, [&] {
            bool answered = false;
            member.claimNext(article, sites, current, {}, [&](const TeamRound::Claim& claim) {
                current = claim.position;
                answered = true;
            });
            waitFor([&] { return answered; });
        });
    };
    const double loadOrdinary = load(QStringLiteral("文章1"));
    const int ordinaryPosts = int(team.postsOf(QStringLiteral("文章1")).size());
    const double loadBusy = load(QStringLiteral("文章0"));
    const int busyPosts = int(team.postsOf(QStringLiteral("文章0")).size());
    const double claimOrdinary = claim(team, QStringLiteral("文章1"));
    const double claimBusy = claim(team, QStringLiteral("文章0"));
    // A member that has not loaded the round: the server passes every posted site itself.
    QTemporaryDir otherFolder;
    HistoryDatabase otherLocal(otherFolder.path());
    if (!otherLocal.open()
        || !TeamSettings::save(otherFolder.path(), server.conninfo(), QStringLiteral("成员1"), &notice).isEmpty())
        return 1;
    TeamRound unaware(otherLocal);
    unaware.start(otherFolder.path());
    waitFor([&] { return unaware.isOnline(); });
    const double claimUnaware = claim(unaware, QStringLiteral("文章0"));

    std::printf("members %d, sites %d, articles %d, posts %d; set-up %.1f s; median of %d\n", Members, Sites, Articles,
                Posts, setupSeconds, Runs);
    std::printf("ordinary article: %d sites posted; busy article: %d sites posted\n", ordinaryPosts, busyPosts);
    std::printf("figure team_round_load %.2f ms\n", loadOrdinary);
    std::printf("figure team_round_load_busy %.2f ms\n", loadBusy);
    std::printf("figure team_claim_next %.2f ms\n", claimOrdinary);
    std::printf("figure team_claim_next_busy %.2f ms\n", claimBusy);
    std::printf("figure team_claim_next_busy_unloaded %.2f ms\n", claimUnaware);
    return 0;
}
