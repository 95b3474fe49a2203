#include "CheckForUpdate.h"
#include "HelpFallback.h"
#include "InterfaceTexts.h"
#include "LocalHttpServer.h"
#include "OpenLocation.h"
#include "TFrmHelp.h"
#include "TFrmVersion.h"
#include "VendorWindows.h"

#include <QLabel>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <QtTest>

namespace {

// Nothing listens on the discard port: the online address fails at once.
const QString UnreachableHelp = QStringLiteral("http://127.0.0.1:9/demo/issuehelp/");
constexpr int PageTimeout = 60000;  // generous: WebEngine starts slowly on a loaded machine

// Stops every request of a profile before it reaches the network, recording it.
class RecordingInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        requested << info.requestUrl();
        info.block(true);
    }
    QList<QUrl> requested;
};

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
    void checkForUpdateNavigatesTheBrowser();
    void aboutWindowIsCreatedOnceWithItsTexts();
    void aboutPictureAndLinkOpenTheHomePageOncePerClick();
    void helpWindowCaptionAndOfflineFallback();
    void fallbackOnHttpErrorButNotOnAWorkingPage();
    void blankAddressShowsTheShippedPage();

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

void TestVendor::checkForUpdateNavigatesTheBrowser()
{
    QWebEngineProfile profile;
    RecordingInterceptor interceptor;
    profile.setUrlRequestInterceptor(&interceptor);
    QWebEngineView browser;
    auto* page = new QWebEnginePage(&profile, &browser);
    browser.setPage(page);
    QSignalSpy finished(page, &QWebEnginePage::loadFinished);

    CheckForUpdate(&browser);
    QVERIFY(finished.wait(PageTimeout));
    const QUrl expected(InterfaceTexts::updateAddress() + QStringLiteral("?v=&n=2.3"));
    QVERIFY(!interceptor.requested.isEmpty());
    QCOMPARE(interceptor.requested.first(), expected);
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

QTEST_MAIN(TestVendor)
#include "tst_vendor.moc"
