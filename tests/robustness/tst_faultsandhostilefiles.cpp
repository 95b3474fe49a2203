#include "ArticleStore.h"
#include "SettingsFile.h"
#include "SiteStore.h"
#include "StoredFile.h"
#include "StoreSet.h"
#include "TestData.h"
#include "TextCodec.h"

#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Stores : StoreSet {
    using StoreSet::StoreSet;
    bool addSite(const QString& name)
    {
        sites.record() =
            TMyURL{name, QStringLiteral("http://127.0.0.1:9/"), QStringLiteral("u"), QStringLiteral("p"), true};
        return sites.StoreSite(false);
    }
};

QByteArray snapshot(const TestDataFolder& data)
{
    QByteArray all;
    for (const char* name : {"defualt.ini", "SDUrl.txt", "articles.txt", "Content0_1.txt"})
        all += data.readBytes(name) + '|';
    return all;
}

// Every entry of the folder with its kind and bytes: a pipe is read as its name only.
QMap<QString, QByteArray> folderState(const QString& folder)
{
    QMap<QString, QByteArray> state;
    QDirIterator entries(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        QFile file(entry.filePath());
        const bool regular = entry.isFile() && !entry.isSymLink();
        state.insert(entry.fileName(),
                     regular && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<not a regular file>"));
    }
    return state;
}

enum class RealFault {
    FileSizeLimit,
    UnreadableSettings,
    PipeAsSiteList,
    PipeAsParagraph
};

}  // namespace

// Writes that fail (full disk, read-only folder) and damaged or hostile files,
// through the real stores: a failure names the file, the files stay whole,
// later operations work; hostile input starts up without harm.
class TestFaultsAndHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { StoredFile::setWriteFault({}); }

    void fullDiskNamesTheFileKeepsFilesAndRecovers_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("settings file") << "defualt.ini";
        QTest::newRow("site list") << "SDUrl.txt";
        QTest::newRow("article list") << "articles.txt";
        QTest::newRow("paragraph file") << "Content0_1.txt";
    }
    void fullDiskNamesTheFileKeepsFilesAndRecovers()
    {
        QFETCH(QString, failing);
        TestDataFolder data(TestDataFolder::WindowsFixture);
        Stores stores(data.path());
        stores.startUp();
        const QByteArray before = snapshot(data);
        QSignalSpy siteErrors(&stores.sites, &SiteStore::writeFailed);
        QSignalSpy articleErrors(&stores.articles, &ArticleStore::writeFailed);
        StoredFile::setWriteFault([failing](const QString& path) {
            return path.endsWith(failing) ? QStringLiteral("No space left on device") : QString();
        });

        stores.addSite(QString::fromUtf8("满盘站点"));
        stores.articles.SelectArticle(0);
        stores.articles.selectionModel()->select(stores.articles.model()->index(0), QItemSelectionModel::Select);
        ArticlePanelTexts texts{stores.articles.buffer().ClauseText, stores.articles.buffer().ParagraphText};
        texts.paragraph[1] = QStringLiteral("changed while the disk is full");
        stores.articles.SaveCurrentArticle(texts);
        stores.articles.DeleteSelectedArticles();
        stores.articles.waitForFiles();  // the list is written after the renames, on a worker thread

        QStringList errors;
        for (const auto& call : siteErrors + articleErrors)
            errors << call.at(0).toString();
        QVERIFY2(!errors.isEmpty(), "a failed write went unreported");
        for (const QString& error : std::as_const(errors))
            QVERIFY2(error.contains(failing) && error.contains(QLatin1String("No space")), qPrintable(error));
        // Whatever reached the disk reads back whole and as a consistent pair of lists.
        Stores reread(data.path());
        reread.startUp();
        QCOMPARE(reread.sites.siteNames(), stores.sites.siteNames());
        QCOMPARE(reread.articles.model()->stringList(), stores.articles.model()->stringList());
        if (failing == QLatin1String("defualt.ini"))
            QCOMPARE(data.readBytes("defualt.ini"), before.split('|').first());

        StoredFile::setWriteFault({});
        QVERIFY(stores.addSite(QString::fromUtf8("之后的站点")));
        Stores after(data.path());
        after.startUp();
        QVERIFY(after.sites.siteNames().contains(QString::fromUtf8("之后的站点")));
    }

    void readOnlyFilesAreReportedNotReplaced()
    {
        if (geteuid() == 0)
            QSKIP("root writes through any permission; the fault layer covers this case");
        TestDataFolder data(TestDataFolder::WindowsFixture);
        Stores stores(data.path());
        stores.startUp();
        QFile::setPermissions(data.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray before = snapshot(data);
        QSignalSpy errors(&stores.sites, &SiteStore::writeFailed);
        QVERIFY(!stores.addSite(QStringLiteral("ro")));
        QFile::setPermissions(data.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!errors.isEmpty());
        QVERIFY(errors.first().at(0).toString().contains(QLatin1String("defualt.ini")));
        QCOMPARE(snapshot(data), before);
        QVERIFY(stores.addSite(QStringLiteral("rw")));
    }

    // The kernel's own refusals, not the injected layer: a child process runs
    // each store action and the exit save once.
    void realFaultsLoseNothingAndAreReported_data()
    {
        QTest::addColumn<int>("faultNumber");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file size limit") << int(RealFault::FileSizeLimit) << "File too large";
        QTest::newRow("unreadable settings file") << int(RealFault::UnreadableSettings) << "Permission denied";
        QTest::newRow("pipe as site list") << int(RealFault::PipeAsSiteList) << "not a regular file";
        QTest::newRow("pipe as paragraph") << int(RealFault::PipeAsParagraph) << "not a regular file";
    }
    void realFaultsLoseNothingAndAreReported()
    {
        QFETCH(int, faultNumber);
        const auto fault = RealFault(faultNumber);
        QFETCH(QString, reason);
        TestDataFolder data(TestDataFolder::WindowsFixture);
        const bool asRoot = geteuid() == 0;
        QString faulty;  // the file the fault is in
        if (fault == RealFault::PipeAsSiteList || fault == RealFault::PipeAsParagraph) {
            faulty = fault == RealFault::PipeAsSiteList ? "SDUrl.txt" : "Content0_1.txt";
            QFile::remove(data.file(faulty));
            QCOMPARE(::mkfifo(QFile::encodeName(data.file(faulty)).constData(), 0600), 0);
        } else if (fault == RealFault::UnreadableSettings) {
            faulty = "defualt.ini";
            // Root reads through any permission: the child then runs as another user,
            // who owns the folder but not the settings file.
            QFile::setPermissions(data.file(faulty), QFileDevice::WriteOwner);
            if (asRoot) {
                QVERIFY(::chown(QFile::encodeName(data.path()).constData(), 65534, 65534) == 0);
                for (const QString& name : QDir(data.path()).entryList(QDir::Files))
                    if (name != faulty)
                        QVERIFY(::chown(QFile::encodeName(data.file(name)).constData(), 65534, 65534) == 0);
            }
        }
        const QMap<QString, QByteArray> before = folderState(data.path());

        QProcess child;
        child.setChildProcessModifier([fault, asRoot] {
            if (fault == RealFault::FileSizeLimit) {
                // One byte: every write is cut short, then refused with EFBIG
                // (SIGXFSZ ignored), as on a disk that fills up on the way.
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit oneByte{1, 1};
                ::setrlimit(RLIMIT_FSIZE, &oneByte);
            } else if (fault == RealFault::UnreadableSettings && asRoot) {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(3);
            }
        });
        child.start(QStringLiteral(QVB_STORE_WORKER), {QStringLiteral("--each-action"), data.path()});
        QVERIFY2(child.waitForFinished(60000), "the child hung");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);

        QStringList failed;
        for (const QString& line : lines)
            if (line.startsWith(QLatin1String("action ")) && line.section(' ', 2, 2) == QLatin1String("failed"))
                failed << line.section(' ', 1, 1);
        const bool unreadable = fault != RealFault::FileSizeLimit;
        if (unreadable) {
            // Told at start-up, which file and why.
            const QStringList told = lines.filter(QLatin1String("unreadable "));
            QCOMPARE(told.size(), 1);
            QVERIFY2(told.first().contains(faulty) && told.first().contains(reason), qPrintable(told.first()));
        }
        // Every action that would write the faulty file failed and said so, naming it.
        QStringList expected{"add-site", "edit-password", "move-site", "delete-site"};
        if (fault == RealFault::PipeAsSiteList)
            expected = QStringList{"add-site", "delete-site"};  // the list reads empty: no site to edit or move
        else if (fault == RealFault::FileSizeLimit || fault == RealFault::UnreadableSettings)
            expected << QStringList{"save-article", "edit-article", "append-article", "delete-article", "exit-save"};
        else if (fault == RealFault::PipeAsParagraph)
            expected = QStringList{"save-article", "edit-article", "exit-save"};
        QCOMPARE(failed, expected);
        for (const QString& line : lines)
            if (line.contains(QLatin1String(" failed ")))
                QVERIFY2(line.contains(reason) && !line.contains(QLatin1String("Unknown error")), qPrintable(line));

        const QMap<QString, QByteArray> after = folderState(data.path());
        if (fault == RealFault::FileSizeLimit) {
            QCOMPARE(after, before);  // not one byte, no leftover temporary file
        } else {
            QCOMPARE(after.value(faulty), before.value(faulty));
            if (fault != RealFault::PipeAsParagraph)
                QCOMPARE(after.value("SDUrl.txt"), before.value("SDUrl.txt"));
        }
    }

    void hostileFilesStartUpWithoutHarm_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("sites");
        QTest::addColumn<QByteArray>("articles");
        const QByteArray bad("\x81\x20\xff\x00\x80\xfe", 6);
        QTest::newRow("invalid GB18030 and NUL") << QByteArray("[defualt]\r\nSiteInd=1\r\n[0]\r\nurl=" + bad + "\r\n")
                                                 << QByteArray("a" + bad + "\r\nb\r\n") << QByteArray(bad + "\r\n");
        QTest::newRow("huge and negative indexes")
            << QByteArray("[defualt]\r\nSiteInd=99999999999\r\nSoftwareInd=-2147483648\r\n") << QByteArray("a\r\nb\r\n")
            << QByteArray("x\r\ny\r\n");
        QTest::newRow("index past the end")
            << QByteArray("[defualt]\r\nSiteInd=2147483647\r\nSoftwareInd=0x7fffffff\r\n") << QByteArray("a\r\n")
            << QByteArray("x\r\n");
        QTest::newRow("duplicated sections and keys")
            << QByteArray("[0]\r\nurl=one\r\nURL=two\r\n[0]\r\nurl=three\r\n[software0]\r\nShowClause1=a\r\n"
                          "[SOFTWARE0]\r\nshowclause1=b\r\n")
            << QByteArray("a\r\n") << QByteArray("x\r\n");
        QTest::newRow("names with = [ ] ;")
            << QByteArray("[defualt]\r\nSiteInd=0\r\n") << QByteArray("a=b\r\n[c]\r\n;d\r\ne]f\r\n")
            << QByteArray("k=v\r\n[s]\r\n;c\r\n");
        QByteArray junk;
        for (int i = 0; i < 100000; ++i)
            junk += char((i * 131 + 7) % 256);
        QTest::newRow("binary junk everywhere") << junk << junk << junk;
        QTest::newRow("megabyte lines") << QByteArray("[0]\r\nurl=" + QByteArray(1 << 20, 'u') + "\r\n")
                                        << QByteArray(QByteArray(1 << 20, 's') + "\r\n")
                                        << QByteArray(QByteArray(1 << 20, 'a') + "\r\n");
    }
    void hostileFilesStartUpWithoutHarm()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, sites);
        QFETCH(QByteArray, articles);
        TestDataFolder data;
        data.writeBytes("defualt.ini", ini);
        data.writeBytes("SDUrl.txt", sites);
        data.writeBytes("articles.txt", articles);
        {
            Stores stores(data.path());
            stores.startUp();
            QCOMPARE(stores.sites.count(), TextCodec::splitLines(TextCodec::decode(sites)).size());
            QCOMPARE(stores.articles.count(), TextCodec::splitLines(TextCodec::decode(articles)).size());
        }
        // Start-up reads only: not one byte changes.
        QCOMPARE(data.readBytes("defualt.ini"), ini);
        QCOMPARE(data.readBytes("SDUrl.txt"), sites);
        QCOMPARE(data.readBytes("articles.txt"), articles);

        // A change keeps every line nobody touched, and every name reads back the same.
        Stores stores(data.path());
        stores.startUp();
        const QStringList names = stores.sites.siteNames();
        QVERIFY(stores.addSite(QString::fromUtf8("新站")));
        Stores reread(data.path());
        reread.startUp();
        QCOMPARE(reread.sites.siteNames(), names + QStringList{QString::fromUtf8("新站")});
        QVERIFY(data.readBytes("defualt.ini").startsWith(ini.left(ini.lastIndexOf('\n') + 1)));
    }

    // Below the stores: damaged bytes read safely and survive a write elsewhere
    // byte for byte; out-of-range numbers read as numbers or the default.
    void damagedBytesSurviveAndNumbersReadSafely()
    {
        TestDataFolder data;
        static const char raw[] =
            "[0]\r\nurl=\x81\x20\xff\x00\x80\r\nUser=a\r\n[defualt]\r\nSiteInd=-2147483648\r\n"
            "SoftwareInd=4294967296\r\nEditPanelWidth=0xFFFFFFFFF\r\nCurArticlePnlWidth=-0x80000000\r\n";
        const QByteArray bytes(raw, sizeof raw - 1);
        data.writeBytes("defualt.ini", bytes);
        SettingsFile ini(data.file("defualt.ini"));
        QVERIFY(!ini.readString("0", "url").isEmpty());
        QCOMPARE(ini.readInteger("defualt", "SiteInd", 0), INT_MIN);
        QCOMPARE(ini.readInteger("defualt", "CurArticlePnlWidth", 0), INT_MIN);
        QCOMPARE(ini.readInteger("defualt", "SoftwareInd", 7), 7);
        QCOMPARE(ini.readInteger("defualt", "EditPanelWidth", 400), 400);
        QVERIFY(ini.writeString("0", "User", "b"));
        QByteArray expected = bytes;
        expected.replace("User=a", "User=b");
        QCOMPARE(data.readBytes("defualt.ini"), expected);

        data.writeBytes("SDUrl.txt", QByteArray("a\0b\r\nc\r\n", 8));
        const QStringList names = StoredFile::readLines(data.file("SDUrl.txt"));
        QCOMPARE(names.size(), 2);
        QCOMPARE(names.at(0).size(), 3);
        QVERIFY(StoredFile::writeLines(data.file("SDUrl.txt"), names));
        QCOMPARE(data.readBytes("SDUrl.txt"), QByteArray("a\0b\r\nc\r\n", 8));
    }

    void fiftyMegabyteArticleListStartsUp()
    {
        TestDataFolder data;
        const QByteArray line = gb18030(QString::fromUtf8("很长的文章名称")) + QByteArray(90, 'n') + "\r\n";
        QByteArray big;
        big.reserve((50 << 20) + line.size());
        while (big.size() < (50 << 20))
            big += line;
        data.writeBytes("articles.txt", big);
        data.writeBytes("defualt.ini", "[defualt]\r\nSoftwareInd=400000\r\n");
        Stores stores(data.path());
        stores.startUp();
        QCOMPARE(stores.articles.count(), int(big.size() / line.size()));
        QCOMPARE(stores.articles.shownIndex(), 400000);
        QCOMPARE(data.readBytes("articles.txt").size(), big.size());
    }
};

QTEST_GUILESS_MAIN(TestFaultsAndHostileFiles)
#include "tst_faultsandhostilefiles.moc"
