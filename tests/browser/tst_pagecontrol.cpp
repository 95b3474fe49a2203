// PageControl: new windows as tabs, the close commands, captions from titles, the close
// request of a page, and the mouse on the tab strip.
#include <QMenu>
#include <QTest>
#include <QWebEngineHistory>

#include <memory>

#include "BrowserCaptions.h"
#include "BrowserProfile.h"
#include "BrowserTestSupport.h"
#include "TBrowserPage.h"
#include "TPageControl.h"
#include "TPageControlTabBar.h"
#include "TestHttpServer.h"

namespace {
// A double-click as the window system delivers it: press, release, then the second press
// arriving as a double-click, and its release.
void doubleClick(QWidget* widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    QTest::mousePress(widget, button, modifiers, pos);
    QTest::mouseRelease(widget, button, modifiers, pos);
    QTest::mouseDClick(widget, button, modifiers, pos);
    QTest::mouseRelease(widget, button, modifiers, pos);
}
}  // namespace

class TestPageControl : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void startsWithTheFirstTab();
    void newWindowFromFinishedPageBecomesTabRightOfIt();
    void linkWithTargetBecomesTab();
    void newWindowRefusedWhileLoading();
    void closeCommandsLeaveTheFirstTab();
    void closeCurrentShowsLeftNeighbour();
    void closeAllTakesAtMostThirtyFromTheRight();
    void closeRequestLeavesTabOnBlankPage();
    void titleRenamesTheSendersTab();
    void titleFromBackgroundTabLeavesWindowCaption();
    void emptyTitle();
    void leftDoubleClickClosesTab();
    void tabLook();
    void firstPageIsRequestedOnce();

private:
    void addTabs(int n);
    QStringList captions() const;

    std::unique_ptr<BrowserProfile> m_profile;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<TPageControl> m_pages;
};

void TestPageControl::initTestCase()
{
    m_profile = std::make_unique<BrowserProfile>(newProfileFolder());
    m_server = std::make_unique<TestHttpServer>();
    QVERIFY(m_server->isListening());
    m_server->addPage("/opener", htmlPage("Opener", "<a id=l target=_blank href=/child>child</a>"));
    m_server->addPage("/child", htmlPage("Child"));
    // Opens a window while the page is still loading: the picture below never arrives
    // until the test releases it.
    m_server->addPage("/loading", htmlPage("Loading", "<script>window.open('/child');</script><img src=/hang>"));
    m_server->addHangingPath("/hang");
}

void TestPageControl::init()
{
    m_pages = std::make_unique<TPageControl>(*m_profile);
    m_pages->resize(800, 500);
    m_pages->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pages.get()));
}

void TestPageControl::cleanup() { m_pages.reset(); }

void TestPageControl::cleanupTestCase()
{
    m_server->releaseHanging();
    m_profile.reset();
}

void TestPageControl::addTabs(int n)
{
    for (int i = 0; i < n; ++i)
        m_pages->CreateTabBrowser(QString(), QStringLiteral("t%1").arg(m_pages->count()));
}

QStringList TestPageControl::captions() const
{
    QStringList out;
    for (int i = 0; i < m_pages->count(); ++i)
        out << m_pages->tabText(i);
    return out;
}

// Start-up opens the stored site's page before the window is built; the
// navigation that start-up makes next for the same address is the same load.
// Only that one: a later visit of the same address loads it again.
void TestPageControl::firstPageIsRequestedOnce()
{
    m_server->addPage("/first", htmlPage("First"));
    const QString first = m_server->url("/first").toString();
    const auto requestsOfFirst = [this] {
        int n = 0;
        for (const TestHttpServer::Request& request : m_server->requests())
            n += request.path == "/first" ? 1 : 0;
        return n;
    };
    const int before = requestsOfFirst();
    QSignalSpy started(m_pages->WebBrowser1, &QWebEngineView::loadStarted);
    QSignalSpy finished(m_pages->WebBrowser1, &QWebEngineView::loadFinished);
    m_pages->OpenFirstPage(first);
    QTRY_COMPARE_WITH_TIMEOUT(requestsOfFirst(), before + 1, PageWait);  // under way
    m_pages->NavigateCurrent(first);
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), PageWait);
    QTest::qWait(200);  // a second load would have started by now
    QCOMPARE(started.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(requestsOfFirst(), before + 1);

    QVERIFY(loadAndWait(m_pages->WebBrowser1, m_server->url("/child").toString()));
    m_pages->NavigateCurrent(first);
    QTRY_COMPARE_WITH_TIMEOUT(requestsOfFirst(), before + 2, PageWait);
}

void TestPageControl::startsWithTheFirstTab()
{
    QCOMPARE(m_pages->count(), 1);
    QCOMPARE(m_pages->tabText(0), QStringLiteral("about:blank"));
    QCOMPARE(m_pages->TabSheet1->objectName(), QStringLiteral("TabSheet1"));
    QCOMPARE(m_pages->CurBrowser(), m_pages->WebBrowser1);
    QCOMPARE(m_pages->browserAt(0), m_pages->WebBrowser1);
    // A never-navigated view counts as complete: it may open windows.
    QVERIFY(m_pages->WebBrowser1->isReadyStateComplete());
    QCOMPARE(m_pages->PCPopup->defaultAction(), m_pages->CloseTab1);
}

void TestPageControl::newWindowFromFinishedPageBecomesTabRightOfIt()
{
    addTabs(3);  // four tabs; the second one asks for the window
    m_pages->setCurrentIndex(1);
    QWidget* former2 = m_pages->widget(2);
    QWidget* former3 = m_pages->widget(3);
    TWebbrowser* requester = m_pages->CurBrowser();
    QCOMPARE(requester, m_pages->browserAt(1));
    QVERIFY(loadAndWait(requester, m_server->url("/opener").toString()));

    QString captionWhenMade;
    connect(m_pages.get(), &TPageControl::currentBrowserChanged, this,
            [&] { captionWhenMade = m_pages->tabText(m_pages->currentIndex()); });
    runScript(requester, QStringLiteral("window.open('/child'); true"));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->count(), 5, PageWait);

    QCOMPARE(m_pages->currentIndex(), 2);
    QCOMPARE(captionWhenMade, QStringLiteral("New Browser"));
    QCOMPARE(m_pages->widget(3), former2);
    QCOMPARE(m_pages->widget(4), former3);
    TWebbrowser* opened = m_pages->browserAt(2);
    QCOMPARE(m_pages->CurBrowser(), opened);
    // The engine loads the requested page into the new tab; its caption then follows its title.
    QTRY_COMPARE_WITH_TIMEOUT(opened->url(), m_server->url("/child"), PageWait);
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->tabText(2), QStringLiteral("Child"), PageWait);
}

void TestPageControl::linkWithTargetBecomesTab()
{
    TWebbrowser* requester = m_pages->WebBrowser1;
    QVERIFY(loadAndWait(requester, m_server->url("/opener").toString()));
    runScript(requester, QStringLiteral("document.getElementById('l').click(); true"));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->count(), 2, PageWait);
    QCOMPARE(m_pages->currentIndex(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->browserAt(1)->url(), m_server->url("/child"), PageWait);
    QCOMPARE(m_pages->tabText(0), QStringLiteral("Opener"));
}

void TestPageControl::newWindowRefusedWhileLoading()
{
    QSignalSpy refused(m_pages.get(), &TPageControl::newWindowRefused);
    QSignalSpy finished(m_pages->WebBrowser1, &QWebEngineView::loadFinished);
    m_pages->NavigateCurrent(m_server->url("/loading").toString());
    QVERIFY(refused.wait(PageWait));
    QCOMPARE(refused.first().value(0).value<TWebbrowser*>(), m_pages->WebBrowser1);
    QCOMPARE(m_pages->count(), 1);
    QVERIFY(!m_pages->WebBrowser1->isReadyStateComplete());

    // The same request once the page has completed opens a tab.
    QTRY_VERIFY_WITH_TIMEOUT(m_server->hangingCount() > 0, PageWait);
    m_server->releaseHanging();
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, PageWait);
    QVERIFY(m_pages->WebBrowser1->isReadyStateComplete());
    runScript(m_pages->WebBrowser1, QStringLiteral("window.open('/child'); true"));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->count(), 2, PageWait);
    QCOMPARE(refused.count(), 1);
}

void TestPageControl::closeCommandsLeaveTheFirstTab()
{
    QSignalSpy changed(m_pages.get(), &TPageControl::currentBrowserChanged);
    m_pages->CloseTab1Click();
    m_pages->MnCloseAllPageClick();
    QCOMPARE(m_pages->count(), 1);
    QCOMPARE(changed.count(), 0);

    addTabs(2);
    m_pages->setCurrentIndex(0);
    m_pages->CloseTab1Click();
    QCOMPARE(m_pages->count(), 3);
    QCOMPARE(m_pages->CurBrowser(), m_pages->WebBrowser1);
}

void TestPageControl::closeCurrentShowsLeftNeighbour()
{
    addTabs(2);
    QCOMPARE(m_pages->currentIndex(), 2);
    TWebbrowser* second = m_pages->browserAt(1);
    QPointer<TWebbrowser> third = m_pages->browserAt(2);
    QSignalSpy changed(m_pages.get(), &TPageControl::currentBrowserChanged);
    m_pages->CloseTab1Click();
    QCOMPARE(m_pages->count(), 2);
    QVERIFY(third.isNull());  // destroyed, not only hidden
    QCOMPARE(m_pages->currentIndex(), 1);
    QCOMPARE(m_pages->CurBrowser(), second);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().value(0).value<TWebbrowser*>(), second);

    // From the middle: the left neighbour, not the right one, is shown.
    addTabs(2);  // tabs 0 1 [2] 3
    m_pages->setCurrentIndex(2);
    m_pages->CloseTab1Click();
    QCOMPARE(m_pages->currentIndex(), 1);
    QCOMPARE(m_pages->CurBrowser(), second);
}

void TestPageControl::closeAllTakesAtMostThirtyFromTheRight()
{
    addTabs(34);
    QCOMPARE(m_pages->count(), 35);
    QStringList all = captions();
    m_pages->setCurrentIndex(20);

    m_pages->MnCloseAllPageClick();
    QCOMPARE(captions(), all.mid(0, 5));  // pages 34 down to 5 closed
    QCOMPARE(m_pages->currentIndex(), 0);
    QCOMPARE(m_pages->CurBrowser(), m_pages->WebBrowser1);

    m_pages->setCurrentIndex(3);
    m_pages->MnCloseAllPageClick();
    QCOMPARE(captions(), all.mid(0, 1));
    QCOMPARE(m_pages->CurBrowser(), m_pages->WebBrowser1);
    QCOMPARE(m_profile->livePageCount(), 1);
}

void TestPageControl::closeRequestLeavesTabOnBlankPage()
{
    // A window the page opened itself may close itself by script.
    TWebbrowser* requester = m_pages->WebBrowser1;
    QVERIFY(loadAndWait(requester, m_server->url("/opener").toString()));
    runScript(requester, QStringLiteral("window.open('/child'); true"));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->count(), 2, PageWait);
    TWebbrowser* popup = m_pages->browserAt(1);
    QTRY_COMPARE_WITH_TIMEOUT(popup->title(), QStringLiteral("Child"), PageWait);

    QSignalSpy answered(popup->browserPage(), &TBrowserPage::closeRequestAnswered);
    runScript(popup, QStringLiteral("window.close(); true"));
    QVERIFY(answered.count() > 0 || answered.wait(PageWait));
    QTRY_COMPARE_WITH_TIMEOUT(popup->url(), QUrl("about:blank"), PageWait);
    QCOMPARE(m_pages->count(), 2);
    QCOMPARE(m_pages->browserAt(1), popup);

    // The first tab's browser answers the same way.
    emit m_pages->WebBrowser1->page()->windowCloseRequested();
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->WebBrowser1->url(), QUrl("about:blank"), PageWait);
    QCOMPARE(m_pages->count(), 2);
}

void TestPageControl::titleRenamesTheSendersTab()
{
    QSignalSpy caption(m_pages.get(), &TPageControl::windowCaptionChanged);
    const QString ten = QStringLiteral("Ten chars!");
    QVERIFY(loadAndWait(m_pages->WebBrowser1, dataPage(ten)));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->tabText(0), ten, PageWait);
    QCOMPARE(caption.last().value(0).toString(), WindowCaptionForTitle(ten));
    QCOMPARE(caption.last().value(0).toString(), QString::fromUtf8("QVB信息zevi2.3 - Ten chars!"));

    const QString eleven = QString::fromUtf8("十一个字的网页标题ab");
    QCOMPARE(eleven.size(), 11);
    QVERIFY(loadAndWait(m_pages->WebBrowser1, dataPage(eleven)));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->tabText(0), eleven + "...", PageWait);
    QCOMPARE(m_pages->tabToolTip(0), eleven);

    const QString thirty = QStringLiteral("A title thirty characters long");
    QCOMPARE(thirty.size(), 30);
    QVERIFY(loadAndWait(m_pages->WebBrowser1, dataPage(thirty)));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->tabText(0), QStringLiteral("A title thi..."), PageWait);
    QCOMPARE(caption.last().value(0).toString(), WindowCaptionForTitle(thirty));
}

void TestPageControl::titleFromBackgroundTabLeavesWindowCaption()
{
    addTabs(1);
    QVERIFY(loadAndWait(m_pages->CurBrowser(), dataPage("Shown page")));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->tabText(1), QStringLiteral("Shown page"), PageWait);

    QSignalSpy caption(m_pages.get(), &TPageControl::windowCaptionChanged);
    QSignalSpy url(m_pages.get(), &TPageControl::currentUrlChanged);
    QVERIFY(loadAndWait(m_pages->WebBrowser1, dataPage("Background")));
    QTRY_COMPARE_WITH_TIMEOUT(m_pages->tabText(0), QStringLiteral("Background"), PageWait);
    QCOMPARE(m_pages->tabText(1), QStringLiteral("Shown page"));
    QCOMPARE(caption.count(), 0);
    QCOMPARE(url.count(), 0);

    // Showing the background tab brings its title to the window caption.
    m_pages->setCurrentIndex(0);
    QCOMPARE(caption.last().value(0).toString(), WindowCaptionForTitle("Background"));
}

void TestPageControl::emptyTitle()
{
    QSignalSpy caption(m_pages.get(), &TPageControl::windowCaptionChanged);
    emit m_pages->WebBrowser1->titleChanged(QString());
    QCOMPARE(m_pages->tabText(0), QString());
    QCOMPARE(caption.last().value(0).toString(), QString::fromUtf8("QVB信息zevi2.3 - "));
}

void TestPageControl::leftDoubleClickClosesTab()
{
    addTabs(2);
    m_pages->setCurrentIndex(1);
    TPageControlTabBar* tabs = m_pages->pageTabBar();
    QWidget* third = m_pages->widget(2);

    // A single click selects and closes nothing; a right double-click closes nothing.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QCOMPARE(m_pages->currentIndex(), 2);
    doubleClick(tabs, Qt::RightButton, {}, tabs->tabRect(1).center());
    m_pages->PCPopup->hide();
    QCOMPARE(m_pages->count(), 3);

    // The double-click's first press selects tab 1, the second closes it.
    doubleClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(m_pages->count(), 2);
    QCOMPARE(m_pages->widget(1), third);
    QCOMPARE(m_pages->currentIndex(), 0);

    // Never the first tab.
    doubleClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    QCOMPARE(m_pages->count(), 2);

    // Not while the close command is switched off.
    m_pages->setCurrentIndex(1);
    m_pages->CloseTab1->setEnabled(false);
    doubleClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(m_pages->count(), 2);
}

void TestPageControl::tabLook()
{
    addTabs(1);
    TPageControlTabBar* tabs = m_pages->pageTabBar();
    const QImage strip = tabs->grab().toImage();
    const QRect shown = tabs->tabRect(1);
    const QRect other = tabs->tabRect(0);
    // Sampled at a corner inside the tab, off the caption.
    QCOMPARE(QColor(strip.pixel(shown.topLeft() + QPoint(3, 3))), TPageControlTabBar::selectedTabColor());
    QCOMPARE(QColor(strip.pixel(other.topLeft() + QPoint(3, 3))), TPageControlTabBar::otherTabColor());
    // Wide enough for the bold caption.
    QVERIFY(shown.width() > QFontMetrics(tabs->tabFont(true)).horizontalAdvance(m_pages->tabText(1)));
}

int runPageControlTests(int argc, char** argv)
{
    TestPageControl tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_pagecontrol.moc"
