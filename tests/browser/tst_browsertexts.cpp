// Tab and window captions from page titles, and which locations the desktop opener gets.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "BrowserCaptions.h"
#include "BrowserTestSupport.h"
#include "OpenLocation.h"
#include "SubmitWatch.h"
#include "WebSite.h"

class TestBrowserTexts : public QObject {
    Q_OBJECT
private slots:
    void init() { m_opened.clear(); }
    void cleanup() { SetLocationOpener({}); }

    void tabCaption_data();
    void tabCaption();
    void tabCaptionKeepsSurrogatePairsWhole();
    void windowCaption();

    void openLocationDecisions_data();
    void openLocationDecisions();
    void openLocationOpensExistingLocalPaths();

    // A script's post counts only to the page's own site, one registrable
    // domain as the public suffix list tells; trackers and neighbours on a
    // shared suffix do not. Credentials follow the same rule, with the scheme.
    void scriptPostsCountOnlyToThePagesOwnSite()
    {
        QVERIFY(SubmitWatch::isSameSite("bbs.example.com.cn", "bbs.example.com.cn"));
        QVERIFY(SubmitWatch::isSameSite("api.example.com.cn", "bbs.example.com.cn"));
        QVERIFY(SubmitWatch::isSameSite("upload.forum.example", "forum.example"));
        QVERIFY(SubmitWatch::isSameSite("Example.COM", "www.example.com"));
        QVERIFY(!SubmitWatch::isSameSite("stats.tracker.net", "bbs.example.com.cn"));
        QVERIFY(!SubmitWatch::isSameSite("example.net", "example.com"));
        QVERIFY(!SubmitWatch::isSameSite("ads.example.org", "example.com"));
        QVERIFY(!SubmitWatch::isSameSite("tracker.com.cn", "example.com.cn"));
        QVERIFY(!SubmitWatch::isSameSite("a.github.io", "b.github.io"));
        QVERIFY(!SubmitWatch::isSameSite("127.0.0.2", "127.0.0.1"));

        QCOMPARE(WebSite::of(QUrl("https://bbs.Example.com.cn:8443/post?x=1")), QString("https://example.com.cn"));
        QCOMPARE(WebSite::of(QUrl("http://127.0.0.1:8080/")), QString("http://127.0.0.1"));
        QCOMPARE(WebSite::of(QUrl::fromUserInput("www.例子.中国")), QString("http://xn--fsqu00a.xn--fiqs8s"));
        QVERIFY(WebSite::same(QUrl("http://www.example.com/login"), QUrl("http://bbs.example.com/")));
        QVERIFY(!WebSite::same(QUrl("http://example.com/"), QUrl("https://example.com/")));
        QVERIFY(!WebSite::same(QUrl("about:blank"), QUrl("about:blank")));
        QVERIFY(!WebSite::same(QUrl("http://user@evil.example/"), QUrl("http://evil.example.com/")));
    }
    void openLocationHandsAcceptedTargetToOpener();

private:
    QList<QUrl> m_opened;
};

void TestBrowserTexts::tabCaption_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("10 whole") << "0123456789"
                              << "0123456789";
    QTest::newRow("11 cut") << "0123456789A"
                            << "0123456789A...";
    QTest::newRow("30 cut") << QString(30, QLatin1Char('x')) << QString(11, QLatin1Char('x')) + "...";
    QTest::newRow("10 Chinese whole") << QString::fromUtf8("论坛网站发布信息列表")
                                      << QString::fromUtf8("论坛网站发布信息列表");
    QTest::newRow("12 Chinese cut") << QString::fromUtf8("论坛网站发布信息列表首页")
                                    << QString::fromUtf8("论坛网站发布信息列表首...");
}

void TestBrowserTexts::tabCaption()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QCOMPARE(TabCaptionForTitle(title), caption);
}

void TestBrowserTexts::tabCaptionKeepsSurrogatePairsWhole()
{
    // Ten units, then an emoji (two units) straddling the cut after unit 11.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString title = QStringLiteral("0123456789") + emoji + QStringLiteral("tail");
    QCOMPARE(TabCaptionForTitle(title), QStringLiteral("0123456789") + emoji + QStringLiteral("..."));
    // A pair that ends before the cut changes nothing in the count.
    const QString early = emoji + QStringLiteral("0123456789");
    QCOMPARE(TabCaptionForTitle(early), emoji + QStringLiteral("012345678..."));
}

void TestBrowserTexts::windowCaption()
{
    QCOMPARE(BaseWindowCaption(), QString::fromUtf8("QVB信息zevi2.3"));
    QCOMPARE(WindowCaptionForTitle(QStringLiteral("Forum %1 100%")),
             QString::fromUtf8("QVB信息zevi2.3 - Forum %1 100%"));
    QCOMPARE(WindowCaptionForTitle(QString()), QString::fromUtf8("QVB信息zevi2.3 - "));
}

void TestBrowserTexts::openLocationDecisions_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("target");  // empty: refused
    QTest::newRow("bare host") << "www.example.com"
                               << "http://www.example.com";
    QTest::newRow("host and path") << "example.com/a/b?x=1"
                                   << "http://example.com/a/b?x=1";
    QTest::newRow("relative name") << "config"
                                   << "http://config";
    QTest::newRow("https unchanged") << "https://example.com/p?q=1"
                                     << "https://example.com/p?q=1";
    QTest::newRow("http unchanged") << "http://www.qvbzevi.com/"
                                    << "http://www.qvbzevi.com/";
    QTest::newRow("upper-case scheme") << "HTTP://example.com/"
                                       << "http://example.com/";
    QTest::newRow("ftp refused") << "ftp://example.com/file"
                                 << "";
    QTest::newRow("http further on refused") << "ftp://example.com/?next=http://x"
                                             << "";
    QTest::newRow("mailto refused") << "mailto:someone@example.com"
                                    << "";
    QTest::newRow("javascript refused") << "javascript:alert(1)"
                                        << "";
    QTest::newRow("missing absolute path") << "/no/such/folder/here"
                                           << "";
    QTest::newRow("missing drive path") << "C:\\no\\such\\folder"
                                        << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "  "
                           << "";
}

void TestBrowserTexts::openLocationDecisions()
{
    QFETCH(QString, location);
    QFETCH(QString, target);
    const QUrl decided = OpenLocationTarget(location);
    if (target.isEmpty())
        QVERIFY2(decided.isEmpty() || !decided.isValid(), qPrintable(decided.toString()));
    else
        QCOMPARE(decided, QUrl(target));
}

void TestBrowserTexts::openLocationOpensExistingLocalPaths()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    QCOMPARE(OpenLocationTarget(dir.path()), QUrl::fromLocalFile(dir.path()));
    QCOMPARE(OpenLocationTarget(file), QUrl::fromLocalFile(file));
    // A missing file in an existing folder is refused, not sent to the web.
    QVERIFY(OpenLocationTarget(dir.filePath(QStringLiteral("gone.txt"))).isEmpty());
}

void TestBrowserTexts::openLocationHandsAcceptedTargetToOpener()
{
    SetLocationOpener([this](const QUrl& url) {
        m_opened.append(url);
        return true;
    });
    QVERIFY(OpenLocation(QStringLiteral("www.qvbzevi.com")));
    QVERIFY(!OpenLocation(QStringLiteral("ftp://example.com")));
    QVERIFY(OpenLocation(QStringLiteral("https://example.com/")));
    QCOMPARE(m_opened, (QList<QUrl>{QUrl("http://www.qvbzevi.com"), QUrl("https://example.com/")}));

    // A desktop that cannot open the target is reported as not opened.
    SetLocationOpener([](const QUrl&) { return false; });
    QVERIFY(!OpenLocation(QStringLiteral("www.qvbzevi.com")));
}

int runBrowserTextTests(int argc, char** argv)
{
    TestBrowserTexts tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_browsertexts.moc"
