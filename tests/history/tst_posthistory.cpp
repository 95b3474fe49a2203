#include "HistoryDatabase.h"
#include "PostHistory.h"
#include "PostRecorder.h"
#include "TestData.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Child roles: another program holding the database's write lock, and this
// program recording under a file size limit of one byte (a full disk).
int holdWriteLock(const QString& path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        db.setDatabaseName(path);
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")))
            return 2;
        std::printf("locked\n");
        std::fflush(stdout);
        std::string line;
        std::getline(std::cin, line);  // until the test closes our input
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    return 0;
}

int recordOverFileSizeLimit(const QString& folder)
{
    std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
    HistoryDatabase database(folder);
    if (!database.open())
        return 2;
    PostHistory history(database);
    QStringList failures;
    QObject::connect(&history, &PostHistory::writeFailed, [&](const QString& error) { failures << error; });
    const rlimit oneByte{1, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &oneByte);
    history.recordPost(QStringLiteral("站点"), QStringLiteral("文章"), QStringLiteral("http://a/"), {});
    const bool held = history.heldCount() == 1 && history.latestPostsOf(QStringLiteral("文章")).size() == 1;
    std::printf("%s\n", qPrintable(failures.join(QLatin1Char('|'))));
    return held && failures.size() == 1 && failures.first().startsWith(database.path()) ? 0 : 3;
}

int rowCount(HistoryDatabase& database)
{
    QSqlQuery query(database.database());
    return query.exec(QStringLiteral("SELECT count(*) FROM posts")) && query.next() ? query.value(0).toInt() : -1;
}

}  // namespace

class TestPostHistory : public QObject {
    Q_OBJECT
private slots:
    // What counts as a post, per page, and what a site or article rename and a
    // mark by hand do to the history.
    void recordingRules()
    {
        TestDataFolder data;
        HistoryDatabase database(data.path());
        QVERIFY2(database.open(), qPrintable(database.problem()));
        PostHistory history(database);
        PostRecorder recorder(history);
        const QString site = QStringLiteral("本地论坛"), article = QStringLiteral("招聘启事");
        const QUrl form(QStringLiteral("http://bbs.example/post?fid=2")),
            thread(QStringLiteral("http://bbs.example/t/9"));
        auto latest = [&](const QString& a = QStringLiteral("招聘启事")) { return history.latestPostsOf(a); };

        // A submit without a paste since the load is not a post.
        recorder.loadStarted(1);
        recorder.loadFinished(1, form, true);
        recorder.formSubmitted(1, form, false);
        QCOMPARE(rowCount(database), 0);

        // Paste, submit (told once its load has started), the load ends at the thread.
        recorder.articlePasted(1, site, article);
        recorder.loadStarted(1);
        recorder.formSubmitted(1, form, false);
        recorder.loadFinished(1, thread, true);
        QCOMPARE(rowCount(database), 1);
        PostEntry post = latest().value(site);
        QCOMPARE(post.formUrl, form.toString());
        QCOMPARE(post.postUrl, thread.toString());
        QVERIFY(post.postedAt.isValid() && post.postedAt.timeSpec() == Qt::UTC);

        // The site refused it and showed the form again: the second submit,
        // with or without a new paste, updates the same post.
        recorder.loadStarted(1);
        recorder.formSubmitted(1, thread, false);
        const QUrl second(QStringLiteral("http://bbs.example/t/10"));
        recorder.loadFinished(1, second, true);
        QCOMPARE(rowCount(database), 1);
        QCOMPARE(latest().value(site).postUrl, second.toString());

        // Moving on in the same page to another site's form, then a search
        // there: no paste since that load, no post.
        recorder.loadStarted(1);
        recorder.loadFinished(1, QUrl(QStringLiteral("http://other.example/")), true);
        recorder.loadStarted(1);
        recorder.formSubmitted(1, QUrl(QStringLiteral("http://other.example/")), false);
        QCOMPARE(rowCount(database), 1);

        // Another article in another page; a script's post without a load.
        recorder.articlePasted(2, QStringLiteral("分类信息网"), QStringLiteral("二手车转让"));
        recorder.formSubmitted(2, QUrl(QStringLiteral("http://ads.example/new")), true);
        QCOMPARE(rowCount(database), 2);
        QCOMPARE(latest(QStringLiteral("二手车转让")).value(QStringLiteral("分类信息网")).postUrl,
                 QStringLiteral("http://ads.example/new"));

        // Renames carry the rows; a deleted name keeps them for its return.
        history.renameSite(site, QStringLiteral("本地论坛新"));
        history.renameArticle(article, QStringLiteral("招聘"));
        QVERIFY(latest(QStringLiteral("招聘")).contains(QStringLiteral("本地论坛新")));
        QVERIFY(latest().isEmpty());

        // By hand: a mark counts; unmarking withdraws without deleting a row.
        QVERIFY(history.markPosted(QStringLiteral("空网址站点"), QStringLiteral("招聘")));
        QVERIFY(latest(QStringLiteral("招聘")).value(QStringLiteral("空网址站点")).byHand);
        QVERIFY(history.unmarkPosted(QStringLiteral("空网址站点"), QStringLiteral("招聘")));
        QVERIFY(!latest(QStringLiteral("招聘")).contains(QStringLiteral("空网址站点")));
        QCOMPARE(rowCount(database), 3);
    }

    // The database never stops the program and never loses a post without a
    // word: real faults, each once.
    void databaseFaultsAreReportedAndLoseNothing()
    {
        const QString product = QCoreApplication::applicationFilePath();
        {
            // A damaged file: closed, named, never written over.
            TestDataFolder data;
            const QByteArray garbage(8192, 'x');
            data.writeBytes(HistoryDatabase::fileName(), garbage);
            HistoryDatabase database(data.path());
            QVERIFY(!database.open());
            QVERIFY(database.problem().startsWith(database.path()));
            PostHistory history(database);
            QSignalSpy failed(&history, &PostHistory::writeFailed);
            history.recordPost(QStringLiteral("a"), QStringLiteral("b"), {}, {});
            QCOMPARE(failed.count(), 1);
            QCOMPARE(history.latestPostsOf(QStringLiteral("b")).size(), 1);  // held and shown
            QCOMPARE(data.readBytes(HistoryDatabase::fileName()), garbage);
        }
        {
            // A pipe in its place: no hang, a reason.
            TestDataFolder data;
            QCOMPARE(::mkfifo(QFile::encodeName(data.file(HistoryDatabase::fileName())).constData(), 0600), 0);
            HistoryDatabase database(data.path());
            QVERIFY(!database.open());
            QVERIFY(!database.problem().isEmpty());
        }
        TestDataFolder data;
        {
            // Another program holds the write lock: the post waits in memory
            // and is stored, first, by the next write after the lock is gone.
            HistoryDatabase database(data.path());
            QVERIFY(database.open());
            PostHistory history(database);
            QProcess holder;
            holder.start(product, {QStringLiteral("--hold-write-lock"), database.path()});
            QVERIFY(holder.waitForReadyRead(10000));
            QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
            QSignalSpy failed(&history, &PostHistory::writeFailed);
            history.recordPost(QStringLiteral("s1"), QStringLiteral("a"), {}, {});
            QCOMPARE(failed.count(), 1);
            QVERIFY(failed.first().first().toString().contains(QStringLiteral("locked")));
            QCOMPARE(history.heldCount(), 1);
            // A rename meanwhile waits too, and the round already sees it.
            history.recordPost(QStringLiteral("s0"), QStringLiteral("a"), {}, {});
            holder.closeWriteChannel();
            QVERIFY(holder.waitForFinished(10000));
            QVERIFY(history.storeHeldPosts());
            QProcess again;
            again.start(product, {QStringLiteral("--hold-write-lock"), database.path()});
            QVERIFY(again.waitForReadyRead(10000));
            history.renameSite(QStringLiteral("s0"), QStringLiteral("s0 renamed"));
            QVERIFY(history.latestPostsOf(QStringLiteral("a")).contains(QStringLiteral("s0 renamed")));
            again.closeWriteChannel();
            QVERIFY(again.waitForFinished(10000));
            history.recordPost(QStringLiteral("s2"), QStringLiteral("a"), {}, {});
            QCOMPARE(history.heldCount(), 0);
            QCOMPARE(rowCount(database), 3);
            QSqlQuery renamedRows(database.database());
            QVERIFY(renamedRows.exec(QStringLiteral("SELECT count(*) FROM posts WHERE site = 's0 renamed'")));
            QVERIFY(renamedRows.next() && renamedRows.value(0).toInt() == 1);
            QCOMPARE(history.latestPostsOf(QStringLiteral("a")).size(), 3);
        }
        {
            // A full disk (a file size limit of one byte) in a child process:
            // the post is held and reported, the file stays as it was.
            const QByteArray before = data.readBytes(HistoryDatabase::fileName());
            QProcess child;
            child.start(product, {QStringLiteral("--record-over-file-size-limit"), data.path()});
            QVERIFY(child.waitForFinished(20000));
            QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
            QCOMPARE(data.readBytes(HistoryDatabase::fileName()), before);
            HistoryDatabase database(data.path());
            QVERIFY(database.open());
            QCOMPARE(rowCount(database), 3);
        }
    }

    // Export and import copy whole databases, never one caught mid-transaction.
    void copiesAreConsistentSnapshots()
    {
        TestDataFolder ours, exported, other;
        HistoryDatabase database(ours.path());
        QVERIFY(database.open());
        PostHistory history(database);
        history.recordPost(QStringLiteral("s"), QStringLiteral("a"), {}, QStringLiteral("http://p/1"));

        // Another connection is in the middle of a write.
        {
            QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            writer.setDatabaseName(database.path());
            QVERIFY(writer.open());
            QVERIFY(writer.transaction());
            QVERIFY(QSqlQuery(writer).exec(QStringLiteral(
                "INSERT INTO posts (site, article, posted_at) VALUES ('half', 'a', '2026-01-01T00:00:00Z')")));
            exported.writeBytes(HistoryDatabase::fileName() + QStringLiteral("-journal"), "stale journal");
            QCOMPARE(database.copyTo(exported.path()), QString());
            writer.rollback();
            writer.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        QVERIFY(!QFile::exists(exported.file(HistoryDatabase::fileName() + QStringLiteral("-journal"))));

        HistoryDatabase copy(exported.path());
        QVERIFY(copy.open());
        QCOMPARE(rowCount(copy), 1);
        copy.close();

        // An import replaces the history and opens it; a folder without one
        // (the Windows original's) leaves it as it is.
        HistoryDatabase theirs(other.path());
        QVERIFY(theirs.open());
        PostHistory(theirs).recordPost(QStringLiteral("t1"), QStringLiteral("b"), {}, {});
        PostHistory(theirs).recordPost(QStringLiteral("t2"), QStringLiteral("b"), {}, {});
        theirs.close();
        bool replaced = false;
        QCOMPARE(database.replaceFrom(other.path(), &replaced), QString());
        QVERIFY(replaced && database.isOpen());
        QCOMPARE(rowCount(database), 2);
        TestDataFolder empty;
        QCOMPARE(database.replaceFrom(empty.path(), &replaced), QString());
        QVERIFY(!replaced);
        QCOMPARE(rowCount(database), 2);

        // A later version's history, or a damaged one, is refused: ours stays.
        TestDataFolder newer, damaged;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
            db.setDatabaseName(newer.file(HistoryDatabase::fileName()));
            QVERIFY(db.open() && QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = 99")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
        damaged.writeBytes(HistoryDatabase::fileName(), QByteArray(4096, 'x'));
        for (const TestDataFolder* folder : {&newer, &damaged}) {
            QVERIFY(!database.replaceFrom(folder->path(), &replaced).isEmpty());
            QVERIFY(!replaced && database.isOpen());
            QCOMPARE(rowCount(database), 2);
        }
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--hold-write-lock"))
        return holdWriteLock(args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("--record-over-file-size-limit"))
        return recordOverFileSizeLimit(args.at(2));
    TestPostHistory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_posthistory.moc"
