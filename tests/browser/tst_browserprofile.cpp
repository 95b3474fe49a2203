// The persistent profile: a site's lasting cookie survives a restart, and the profile can be
// destroyed before the views without leaving pages behind.
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QWebEngineProfile>

#include <memory>

#include "BrowserProfile.h"
#include "BrowserTestSupport.h"
#include "TBrowserPage.h"
#include "TPageControl.h"
#include "TestHttpServer.h"

namespace {
QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

class TestBrowserProfile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void profileIsPersistentInGivenFolder();
    void lastingCookieSurvivesRestart();
    void profileReleasesPagesBeforeItGoes();

private:
    std::unique_ptr<TestHttpServer> m_server;
};

void TestBrowserProfile::initTestCase()
{
    m_server = std::make_unique<TestHttpServer>();
    QVERIFY(m_server->isListening());
    m_server->addPage("/login", htmlPage("Logged in"),
                      "Set-Cookie: member=zevi; Max-Age=86400; Path=/\r\n"
                      "Set-Cookie: visit=once; Path=/\r\n");
    m_server->addPage("/forum", htmlPage("Forum"));
}

void TestBrowserProfile::profileIsPersistentInGivenFolder()
{
    const QString storage = newProfileFolder();
    BrowserProfile profile(storage);
    QVERIFY(!profile.profile()->isOffTheRecord());
    QCOMPARE(QDir(profile.profile()->persistentStoragePath()), QDir(storage));
    QVERIFY(profile.profile()->cachePath().startsWith(storage));
    QVERIFY(profile.profile()->persistentCookiesPolicy() != QWebEngineProfile::NoPersistentCookies);
    // It holds login cookies: the owner's only.
    QCOMPARE(QFileInfo(storage).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFileDevice::Permissions());
}

void TestBrowserProfile::lastingCookieSurvivesRestart()
{
    const QString storage = newProfileFolder();
    {
        auto profile = std::make_unique<BrowserProfile>(storage);
        auto view = std::make_unique<TWebbrowser>(profile.get());
        QVERIFY(loadAndWait(view.get(), m_server->url("/login").toString()));
        QVERIFY(loadAndWait(view.get(), m_server->url("/forum").toString()));
        QCOMPARE(m_server->requests().last().cookie, QByteArray("member=zevi; visit=once"));
        // Shut down in the order a window does: the profile first, the views after it.
        profile.reset();
    }
    // The engine writes its cookie database on its own thread as the profile goes.
    QTRY_VERIFY_WITH_TIMEOUT(readAll(storage + QStringLiteral("/Cookies")).contains("member"), PageWait);
    {
        BrowserProfile profile(storage);
        TWebbrowser view(&profile);
        QVERIFY(loadAndWait(&view, m_server->url("/forum").toString()));
        // The lasting cookie is back; the session cookie ended with the run.
        QCOMPARE(m_server->requests().last().path, QByteArray("/forum"));
        QCOMPARE(m_server->requests().last().cookie, QByteArray("member=zevi"));
    }
}

void TestBrowserProfile::profileReleasesPagesBeforeItGoes()
{
    auto profile = std::make_unique<BrowserProfile>(newProfileFolder());
    auto pages = std::make_unique<TPageControl>(*profile);
    pages->CreateTabBrowser(QString(), QStringLiteral("second"));
    pages->show();
    QVERIFY(loadAndWait(pages->WebBrowser1, dataPage("Loaded")));
    QCOMPARE(profile->livePageCount(), 2);
    QPointer<TBrowserPage> page = pages->WebBrowser1->browserPage();

    profile.reset();
    QVERIFY(page.isNull());
    // The views outlive their pages without harm, and go quietly afterwards.
    pages->WebBrowser1->Navigate(QStringLiteral("about:blank"));
    QVERIFY(pages->WebBrowser1->LocationURL().isEmpty());
    QVERIFY(!pages->WebBrowser1->canGoBack());
    QTest::qWait(50);
    pages.reset();
}

int runBrowserProfileTests(int argc, char** argv)
{
    TestBrowserProfile tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_browserprofile.moc"
