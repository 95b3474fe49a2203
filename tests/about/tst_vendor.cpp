#include "BrowserProfile.h"
#include "CheckForUpdate.h"
#include "HelpFallback.h"
#include "HelpView.h"
#include "InterfaceTexts.h"
#include "LocalHttpServer.h"
#include "OpenLocation.h"
#include "TBrowserPage.h"
#include "TFrmHelp.h"
#include "TFrmVersion.h"
#include "VendorWindows.h"

#include <QDialog>
#include <QLabel>
#include <QNetworkCookie>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

namespace {

// Nothing listens on the discard port: the online address fails at once.
const QString UnreachableHelp = QStringLiteral("http://127.0.0.1:9/demo/issuehelp/");
constexpr int PageTimeout = 60000;  // generous: WebEngine starts slowly on a loaded machine

// The loads a page reports, in order.
class LoadLog : public QObject {
public:
    explicit LoadLog(QWebEnginePage* page)
    {
        connect(page, &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo& info) { events << qMakePair(info.status(), info.url()); });
    }
    // `online` failed and the shipped help page started loading. Order is not
    // checked: the fallback's start may be reported before this log hears of the
    // failure (the watch hears first and loads at once). Logs are started or
    // cleared once earlier loads have ended, so a start here is the fallback's.
    bool fellBackAfterFailing(const QUrl& online) const
    {
        return ended(online, QWebEngineLoadingInfo::LoadFailedStatus) && started(offlineHelpUrl());
    }
    bool ended(const QUrl& url, QWebEngineLoadingInfo::LoadStatus status) const
    {
        return events.contains(qMakePair(status, url));
    }
    bool started(const QUrl& url) const { return ended(url, QWebEngineLoadingInfo::LoadStartedStatus); }
    QList<QPair<QWebEngineLoadingInfo::LoadStatus, QUrl>> events;
};

}  // namespace

class TestVendor : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void updateQueryFormat();
    void updateQueryIsAPlainRequestWithoutCookies();
    void aboutWindowIsCreatedOnceWithItsTexts();
    void aboutPictureAndLinkOpenTheHomePageOncePerClick();
    void helpWindowCaptionAndOfflineFallback();
    void fallbackOnHttpErrorButNotOnAWorkingPage();
    void blankAddressShowsTheShippedPage();
    void helpPagesAreOffTheRecordAndCannotOpenDialogsOrWindows();

private:
    QList<QUrl> m_opened;
};

void TestVendor::init()
{
    m_opened.clear();
    SetLocationOpener([this](const QUrl& url) {
        m_opened << url;
        return true;
    });
}

void TestVendor::cleanup() { SetLocationOpener({}); }

void TestVendor::updateQueryFormat()
{
    const QString address = QStringLiteral("http://vendor.test/download/update/");
    QCOMPARE(updateQueryUrl(address, QString(), 2.3), address + QStringLiteral("?v=&n=2.3"));
    QCOMPARE(updateQueryUrl(address, QStringLiteral("pro"), 2.3), address + QStringLiteral("?v=pro&n=2.3"));
    QCOMPARE(updateQueryUrl(address, QString(), 10), address + QStringLiteral("?v=&n=10.0"));
    // An edition text cannot add parameters of its own.
    QCOMPARE(updateQueryUrl(address, QStringLiteral("a&n=9"), 2.3), address + QStringLiteral("?v=a%26n%3D9&n=2.3"));
}

namespace {

bool carriesCookies(const QByteArray& head) { return head.toLower().contains("\r\ncookie:"); }

}  // namespace

void TestVendor::updateQueryIsAPlainRequestWithoutCookies()
{
    LocalHttpServer server(200, "<html><body>latest</body></html>");
    server.redirect("/download/update/?v=&n=2.3", "/moved/update", "Set-Cookie: visit=redirect; Path=/\r\n");

    // The user's browser profile holds a login for the same host: a page there sends it.
    QTemporaryDir storage;
    BrowserProfile logins(storage.path());
    QNetworkCookie login("login", "secret");
    login.setPath("/");
    logins.profile()->cookieStore()->setCookie(login, server.url("/"));
    QWebEngineView browser;
    browser.setPage(logins.createPage(&browser));
    QSignalSpy loaded(browser.page(), &QWebEnginePage::loadFinished);
    browser.load(server.url("/logged-in"));
    QVERIFY(loaded.wait(PageTimeout));
    QCOMPARE(server.requestsFor("/logged-in").size(), 1);
    QVERIFY(server.requestsFor("/logged-in").first().contains("login=secret"));

    // The query goes once, to the update address with the edition and version, is
    // sent on by the redirect, and carries neither the login nor the redirect's cookie.
    QObject owner;
    QPointer<QObject> query = sendUpdateQuery(&owner, server.url("/download/update/").toString());
    QCOMPARE(query->parent(), &owner);
    QCOMPARE(query->objectName(), QStringLiteral("UpdateQuery"));
    QTRY_VERIFY_WITH_TIMEOUT(!query, PageTimeout);  // ended: released
    const QList<QByteArray> asked = server.requestsFor("/download/update/");
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().startsWith("GET /download/update/?v=&n=2.3 HTTP/1.1\r\n"));
    const QList<QByteArray> followed = server.requestsFor("/moved/update");
    QCOMPARE(followed.size(), 1);
    QVERIFY2(!carriesCookies(asked.first()), asked.first().constData());
    QVERIFY2(!carriesCookies(followed.first()), followed.first().constData());

    // A server that takes the request and never answers: the query goes at its limit.
    LocalHttpServer silent(LocalHttpServer::NoAnswer, QByteArray());
    QPointer<QObject> hanging =
        sendUpdateQuery(&owner, silent.url("/download/update/").toString(), QString(), std::chrono::seconds(2));
    QTRY_VERIFY_WITH_TIMEOUT(!hanging, PageTimeout);
    // Nothing listens: the query goes as soon as the connection fails.
    QUrl refused;
    {
        LocalHttpServer closed(200, QByteArray());
        refused = closed.url("/download/update/");
    }
    QPointer<QObject> failing = sendUpdateQuery(&owner, refused.toString());
    QTRY_VERIFY_WITH_TIMEOUT(!failing, PageTimeout);
    QVERIFY(owner.children().isEmpty());
}

void TestVendor::aboutWindowIsCreatedOnceWithItsTexts()
{
    QWidget owner;
    VendorWindows windows(&owner);
    QVERIFY(!windows.aboutWindow());
    TFrmVersion* about = windows.showAbout();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("关于 QVB信息zevi"));
    QCOMPARE(about->LblVersion->text(), QStringLiteral("2.3"));
    QCOMPARE(about->LblVersion->pos(), QPoint(181, 59));
    QCOMPARE(about->LblVersion->font().pixelSize(), 25);
    QVERIFY(about->LblVersion->font().bold());
    QCOMPARE(about->Label5->text(), QString(20, QLatin1Char('_')));
    QCOMPARE(about->Label5->pos(), QPoint(126, 131));
    QCOMPARE(about->BtnClose->geometry(), QRect(252, 205, 57, 26));
    QCOMPARE(about->ImgAbout->toolTip(), QStringLiteral("鼠标点击可进入官方主页"));
    QVERIFY(!about->ImgAbout->pixmap().isNull());
    QVERIFY(!about->BtnClose->icon().isNull());
    QCOMPARE(about->size(), QSize(388, 281));
    QVERIFY(about->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(about->parentWidget(), &owner);

    QTest::mouseClick(about->BtnClose, Qt::LeftButton);
    QVERIFY(!about->isVisible());
    QCOMPARE(windows.showAbout(), about);  // shown again, not made again
    QVERIFY(about->isVisible());
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(!about->isVisible());
    windows.showAbout();
    QVERIFY(about->isVisible());
    QCOMPARE(owner.findChildren<TFrmVersion*>().size(), 1);
}

void TestVendor::aboutPictureAndLinkOpenTheHomePageOncePerClick()
{
    TFrmVersion about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.ImgAbout, Qt::LeftButton, {}, QPoint(60, 200));
    QCOMPARE(m_opened, QList<QUrl>{QUrl(InterfaceTexts::homePageAddress())});
    QTest::mouseClick(about.Label5, Qt::LeftButton);
    QCOMPARE(m_opened.size(), 2);
    QCOMPARE(m_opened.last(), QUrl(InterfaceTexts::homePageAddress()));
    QTest::mouseClick(about.BtnClose, Qt::LeftButton);  // the close button opens nothing
    QCOMPARE(m_opened.size(), 2);
}

void TestVendor::helpWindowCaptionAndOfflineFallback()
{
    QWidget owner;
    VendorWindows windows(&owner);
    windows.setHelpAddress(UnreachableHelp);
    TFrmHelp* help = windows.showHelp();
    LoadLog log(help->WebBrowser1->page());  // the loads start once the event loop runs
    QCOMPARE(help->windowTitle(), QStringLiteral("关于QVB信息zevi"));
    QVERIFY(help->windowState() & Qt::WindowMaximized);
    QVERIFY(!help->BtnClose->icon().isNull());
    QTRY_VERIFY_WITH_TIMEOUT(log.fellBackAfterFailing(QUrl(UnreachableHelp)), PageTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(log.ended(offlineHelpUrl(), QWebEngineLoadingInfo::LoadSucceededStatus), PageTimeout);
    QCOMPARE(help->WebBrowser1->url(), offlineHelpUrl());
    const QString shippedTitle = QStringLiteral("QVB信息zevi 帮助");
    QTRY_COMPARE_WITH_TIMEOUT(help->WebBrowser1->title(), shippedTitle, PageTimeout);

    // Hidden and shown again: the same window, which tries the online address anew
    // and falls back again.
    log.events.clear();
    help->close();
    QCOMPARE(windows.showHelp(), help);
    QTRY_VERIFY_WITH_TIMEOUT(log.fellBackAfterFailing(QUrl(UnreachableHelp)), PageTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(help->WebBrowser1->title(), shippedTitle, PageTimeout);
}

void TestVendor::fallbackOnHttpErrorButNotOnAWorkingPage()
{
    // Each step waits until its last load has ended, so no load of one step is
    // still under way when the next step looks at the log.
    QWebEngineView view;
    LoadLog log(view.page());
    LocalHttpServer missing(404, "<html><head><title>404</title></head><body>gone</body></html>");
    QVERIFY(missing.isListening());
    showHelpWithFallback(&view, missing.url().toString());
    QTRY_VERIFY_WITH_TIMEOUT(log.ended(offlineHelpUrl(), QWebEngineLoadingInfo::LoadSucceededStatus), PageTimeout);

    // Nothing listens: the connection is refused, as with a vendor site that is down.
    QUrl refused;
    {
        LocalHttpServer closed(200, QByteArray());
        refused = closed.url();
    }
    log.events.clear();
    showHelpWithFallback(&view, refused.toString());
    QTRY_VERIFY_WITH_TIMEOUT(log.fellBackAfterFailing(refused), PageTimeout);
    QVERIFY(view.page()->settings()->testAttribute(QWebEngineSettings::ErrorPageEnabled));
    QTRY_VERIFY_WITH_TIMEOUT(log.ended(offlineHelpUrl(), QWebEngineLoadingInfo::LoadSucceededStatus), PageTimeout);

    LocalHttpServer working(200, "<html><head><title>online help</title></head><body>hi</body></html>");
    log.events.clear();
    showHelpWithFallback(&view, working.url().toString());
    QTRY_VERIFY_WITH_TIMEOUT(log.ended(working.url(), QWebEngineLoadingInfo::LoadSucceededStatus), PageTimeout);
    QCOMPARE(view.title(), QStringLiteral("online help"));
    // Error pages, held back while the help address loaded, are on again for the user.
    QVERIFY(view.page()->settings()->testAttribute(QWebEngineSettings::ErrorPageEnabled));
    // A link the user follows afterwards that fails is not replaced by the help page:
    // the watch ended with the help address's own load.
    const QUrl failing(QStringLiteral("http://127.0.0.1:9/elsewhere"));
    view.load(failing);
    QTRY_VERIFY_WITH_TIMEOUT(log.ended(failing, QWebEngineLoadingInfo::LoadFailedStatus), PageTimeout);
    view.load(QUrl(QStringLiteral("data:text/html,<title>probe</title>")));
    QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("probe"), PageTimeout);
    QVERIFY2(!log.started(offlineHelpUrl()), "fell back without need");
}

void TestVendor::blankAddressShowsTheShippedPage()
{
    QWebEngineView view;
    showHelpWithFallback(&view, QString());
    QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("QVB信息zevi 帮助"), PageTimeout);
    QCOMPARE(view.url(), offlineHelpUrl());
}

void TestVendor::helpPagesAreOffTheRecordAndCannotOpenDialogsOrWindows()
{
    // The page tries a prompt, a confirm, an alert and a window, then shows in its
    // title what it got back. A dialog shown instead is counted and dismissed.
    LocalHttpServer server(200,
                           "<html><head><title>loading</title></head><body><script>"
                           "var p = prompt('name?', 'x'); var c = confirm('sure?'); alert('hi');"
                           "var w = window.open('/popup', '_blank');"
                           "document.title = [String(p), String(c), String(w)].join(' ');"
                           "</script></body></html>");
    int dialogs = 0;
    QTimer dialogWatch;
    connect(&dialogWatch, &QTimer::timeout, this, [&dialogs] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    dialogWatch.start(20);
    QWidget owner;
    VendorWindows windows(&owner);
    windows.setHelpAddress(server.url().toString());
    TFrmHelp* help = windows.showHelp();
    QWebEngineProfile* profile = help->WebBrowser1->page()->profile();
    QVERIFY(profile->isOffTheRecord());
    QVERIFY(profile != QWebEngineProfile::defaultProfile());
    QTRY_COMPARE_WITH_TIMEOUT(help->WebBrowser1->title(), QStringLiteral("null false null"), PageTimeout);
    QCOMPARE(dialogs, 0);
    QVERIFY(server.requestsFor("/popup").isEmpty());
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY2(window == help || !window->isVisible(), qPrintable(window->objectName()));
}

QTEST_MAIN(TestVendor)
#include "tst_vendor.moc"
