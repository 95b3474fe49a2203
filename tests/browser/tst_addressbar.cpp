// The address bar: Run and Enter open the field's text in the current tab, Back and Forward
// follow the shown tab's history, and page events never overwrite what the user is typing.
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

#include "BrowserProfile.h"
#include "BrowserTestSupport.h"
#include "TAddressBar.h"
#include "TPageControl.h"
#include "TestHttpServer.h"

class TestAddressBar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void controlsAndTexts();
    void enterOpensTextInCurrentTab();
    void backAndForwardFollowHistory();
    void buttonsFollowTheShownTab();
    void backWithoutHistoryKeepsField();
    void pageEventsDoNotOverwriteTyping();
    void tabChangeShowsItsAddress();

private:
    QString address(const char* path) const { return m_server->url(QString::fromLatin1(path)).toString(); }

    std::unique_ptr<BrowserProfile> m_profile;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<QWidget> m_window;
    TPageControl* m_pages = nullptr;
    TAddressBar* m_bar = nullptr;
};

void TestAddressBar::initTestCase()
{
    m_profile = std::make_unique<BrowserProfile>(newProfileFolder());
    m_server = std::make_unique<TestHttpServer>();
    QVERIFY(m_server->isListening());
    m_server->addPage("/a", htmlPage("Page A"));
    m_server->addPage("/b", htmlPage("Page B"));
    m_server->addPage("/c", htmlPage("Page C"));
}

void TestAddressBar::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_pages = new TPageControl(*m_profile);
    m_bar = new TAddressBar(*m_pages);
    layout->addWidget(m_bar);
    layout->addWidget(m_pages);
    m_window->resize(900, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestAddressBar::cleanup() { m_window.reset(); }

void TestAddressBar::cleanupTestCase() { m_profile.reset(); }

void TestAddressBar::controlsAndTexts()
{
    QCOMPARE(m_bar->objectName(), QStringLiteral("Panel2"));
    QCOMPARE(m_bar->height(), 29);
    QCOMPARE(m_bar->Panel6->width(), 35);
    QCOMPARE(m_bar->Panel5->width(), 277);
    QCOMPARE(m_bar->BtnFullScreen->size(), QSize(84, 25));
    for (const char* name : {"EditCurURL", "BtnRun", "BtnRefresh", "BtnFullScreen", "ToolbtnBack", "ToolBtnForward",
                             "BtnExit2", "PnlURLAddress"}) {
        QVERIFY2(m_window->findChild<QWidget*>(QString::fromLatin1(name)), name);
    }
    QCOMPARE(m_bar->ToolbtnBack->text(), QString::fromUtf8("退回"));
    // The address field fills its panel but for one pixel each side.
    QCOMPARE(m_bar->EditCurURL->width(), m_bar->PnlURLAddress->width() - 2);
    // A fresh tab has no history.
    QVERIFY(!m_bar->ToolbtnBack->isEnabled());
    QVERIFY(!m_bar->ToolBtnForward->isEnabled());
}

void TestAddressBar::enterOpensTextInCurrentTab()
{
    m_pages->CreateTabBrowser(QString(), QStringLiteral("second"));
    TWebbrowser* current = m_pages->CurBrowser();
    QSignalSpy finished(current, &QWebEngineView::loadFinished);
    m_bar->EditCurURL->setFocus();
    // No scheme: the text goes to the engine as typed, which reads it as a web address.
    QTest::keyClicks(m_bar->EditCurURL, m_server->hostAndPort() + QStringLiteral("/a"));
    QTest::keyClick(m_bar->EditCurURL, Qt::Key_Return);
    QVERIFY(finished.wait(PageWait));
    QCOMPARE(current->url(), m_server->url("/a"));
    QVERIFY(m_pages->WebBrowser1->url().isEmpty());  // the other tab is untouched
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->EditCurURL->text(), address("/a"), PageWait);
}

void TestAddressBar::backAndForwardFollowHistory()
{
    TWebbrowser* browser = m_pages->CurBrowser();
    QVERIFY(loadAndWait(browser, address("/a")));
    QVERIFY(loadAndWait(browser, address("/b")));
    QTRY_VERIFY_WITH_TIMEOUT(m_bar->ToolbtnBack->isEnabled(), PageWait);
    QVERIFY(!m_bar->ToolBtnForward->isEnabled());

    QSignalSpy finished(browser, &QWebEngineView::loadFinished);
    QTest::mouseClick(m_bar->ToolbtnBack, Qt::LeftButton);
    QVERIFY(finished.wait(PageWait));
    QCOMPARE(browser->url(), m_server->url("/a"));
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->EditCurURL->text(), address("/a"), PageWait);
    QTRY_VERIFY_WITH_TIMEOUT(m_bar->ToolBtnForward->isEnabled(), PageWait);
    QTRY_VERIFY_WITH_TIMEOUT(!m_bar->ToolbtnBack->isEnabled(), PageWait);

    QTest::mouseClick(m_bar->ToolBtnForward, Qt::LeftButton);
    QVERIFY(finished.wait(PageWait));
    QCOMPARE(browser->url(), m_server->url("/b"));
    QTRY_VERIFY_WITH_TIMEOUT(m_bar->ToolbtnBack->isEnabled(), PageWait);
    QTRY_VERIFY_WITH_TIMEOUT(!m_bar->ToolBtnForward->isEnabled(), PageWait);
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->EditCurURL->text(), address("/b"), PageWait);
}

void TestAddressBar::buttonsFollowTheShownTab()
{
    QVERIFY(loadAndWait(m_pages->WebBrowser1, address("/a")));
    QVERIFY(loadAndWait(m_pages->WebBrowser1, address("/b")));
    QTRY_VERIFY_WITH_TIMEOUT(m_bar->ToolbtnBack->isEnabled(), PageWait);

    // A fresh tab has nothing to go back to, and a history event from the background tab
    // does not lend it the first tab's history.
    m_pages->CreateTabBrowser(QString(), QStringLiteral("fresh"));
    QVERIFY(!m_bar->ToolbtnBack->isEnabled());
    QVERIFY(loadAndWait(m_pages->WebBrowser1, address("/a")));
    QVERIFY(!m_bar->ToolbtnBack->isEnabled());

    m_pages->setCurrentIndex(0);
    QVERIFY(m_bar->ToolbtnBack->isEnabled());
}

void TestAddressBar::backWithoutHistoryKeepsField()
{
    m_bar->EditCurURL->setText(QStringLiteral("typed text"));
    m_bar->BtnReturnClick();
    m_bar->ToolBtnForwardClick();
    QCOMPARE(m_bar->EditCurURL->text(), QStringLiteral("typed text"));
    QVERIFY(m_pages->WebBrowser1->url().isEmpty());
}

void TestAddressBar::pageEventsDoNotOverwriteTyping()
{
    TWebbrowser* browser = m_pages->CurBrowser();
    QVERIFY(loadAndWait(browser, address("/a")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->EditCurURL->text(), address("/a"), PageWait);

    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_bar->EditCurURL->setFocus();
    QTRY_VERIFY(m_bar->EditCurURL->hasFocus());
    m_bar->EditCurURL->selectAll();
    QTest::keyClicks(m_bar->EditCurURL, QStringLiteral("half typed"));
    // The page changes by itself (a script, a refresh): the typing stays.
    QVERIFY(loadAndWait(browser, address("/b")));
    QCOMPARE(m_bar->EditCurURL->text(), QStringLiteral("half typed"));

    // Once the typed text is opened, the page's events write the field again.
    m_bar->EditCurURL->setText(address("/a"));
    m_bar->EditCurURL->setModified(true);
    QSignalSpy finished(browser, &QWebEngineView::loadFinished);
    m_bar->BtnRunClick();
    QVERIFY(finished.wait(PageWait));
    QVERIFY(loadAndWait(browser, address("/b")));
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->EditCurURL->text(), address("/b"), PageWait);
}

void TestAddressBar::tabChangeShowsItsAddress()
{
    QVERIFY(loadAndWait(m_pages->WebBrowser1, address("/a")));
    m_pages->CreateTabBrowser(address("/b"), QStringLiteral("second"));
    QTRY_COMPARE_WITH_TIMEOUT(m_bar->EditCurURL->text(), address("/b"), PageWait);
    m_pages->setCurrentIndex(0);
    QCOMPARE(m_bar->EditCurURL->text(), address("/a"));
    m_pages->setCurrentIndex(1);
    QCOMPARE(m_bar->EditCurURL->text(), address("/b"));
    // A navigation of the first tab in the background leaves the shown tab's address.
    QVERIFY(loadAndWait(m_pages->WebBrowser1, address("/c")));
    QCOMPARE(m_bar->EditCurURL->text(), address("/b"));
}

int runAddressBarTests(int argc, char** argv)
{
    TestAddressBar tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_addressbar.moc"
