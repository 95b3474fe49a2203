#include "TPageControl.h"

#include "BrowserCaptions.h"
#include "TBrowserPage.h"
#include "InterfaceTexts.h"
#include "TPageControlTabBar.h"
#include "TWebbrowser.h"

#include <QMenu>
#include <QWebEngineLoadingInfo>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <memory>
#include <utility>

TPageControl::TPageControl(BrowserProfile& profile, QWidget* parent) : QTabWidget(parent), m_profile(profile)
{
    setObjectName(QStringLiteral("PageControl"));
    qRegisterMetaType<TWebbrowser*>();  // carried by signals, also across queued connections
    m_tabBar = new TPageControlTabBar(this);
    m_tabBar->setObjectName(QStringLiteral("PageControlTabs"));
    setTabBar(m_tabBar);
    setDocumentMode(true);

    TabSheet1 = addBrowserPage(0, BlankPageAddress(), QStringLiteral("TabSheet1"));
    WebBrowser1 = browserAt(0);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));

    PCPopup = new QMenu(this);
    PCPopup->setObjectName(QStringLiteral("PCPopup"));
    CloseTab1 = PCPopup->addAction(uiText(TextId::CloseCurrentTab), this, &TPageControl::CloseTab1Click);
    CloseTab1->setObjectName(QStringLiteral("CloseTab1"));
    PCPopup->setDefaultAction(CloseTab1);
    MnCloseAllPage = PCPopup->addAction(uiText(TextId::CloseAllTabs), this, &TPageControl::MnCloseAllPageClick);
    MnCloseAllPage->setObjectName(QStringLiteral("MnCloseAllPage"));

    m_tabBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tabBar, &QWidget::customContextMenuRequested, this, &TPageControl::showPopup);
    connect(m_tabBar, &TPageControlTabBar::tabLeftDoubleClicked, this, &TPageControl::PageControlMouseDown);
    connect(this, &QTabWidget::currentChanged, this, &TPageControl::PageControlChange);
    SyncCurrentTab();
}

// The pages go before the profile does (the owner's BrowserProfile releases any that remain).
TPageControl::~TPageControl() = default;

TWebbrowser* TPageControl::browserAt(int index) const
{
    QWidget* sheet = widget(index);
    return sheet ? sheet->findChild<TWebbrowser*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

int TPageControl::indexOfBrowser(const TWebbrowser* browser) const
{
    for (int i = 0; i < count(); ++i) {
        if (browserAt(i) == browser)
            return i;
    }
    return -1;
}

TWebbrowser* TPageControl::newSheet(QWidget* parent)
{
    auto* sheet = new QWidget(parent);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new TWebbrowser(&m_profile, sheet);
    layout->addWidget(browser);
    return browser;
}

QWidget* TPageControl::addBrowserPage(int index, const QString& caption, const QString& objectName)
{
    TWebbrowser* browser = newSheet(nullptr);
    QWidget* sheet = browser->parentWidget();
    sheet->setObjectName(objectName);
    wireBrowser(browser);
    insertTab(index, sheet, caption);
    return sheet;
}

void TPageControl::deleteSheet(TWebbrowser* browser)
{
    QWidget* sheet = browser->parentWidget();
    delete browser;  // the browser first, then its page
    delete sheet;
}

void TPageControl::wireBrowser(TWebbrowser* browser)
{
    browser->setNewWindowHandler([this](TWebbrowser* requester) { return WebBrowser1NewWindow2(requester); });
    connect(browser, &QWebEngineView::titleChanged, this,
            [this, browser](const QString& title) { WebBrowser1TitleChange(browser, title); });
    connect(browser, &TWebbrowser::historyStateChanged, this, &TPageControl::WebBrowser1CommandStateChange);
    connect(browser, &QWebEngineView::urlChanged, this, [this, browser] { WebBrowser1NavigateComplete2(browser); });
}

QWidget* TPageControl::CreateTabBrowser(const QString& url, const QString& caption)
{
    QWidget* sheet = nullptr;
    {
        const QSignalBlocker quiet(this);  // one SyncCurrentTab at the end, not one per step
        sheet = addBrowserPage(currentIndex() + 1, caption);
        setCurrentWidget(sheet);
    }
    if (!url.trimmed().isEmpty())
        browserAt(indexOf(sheet))->Navigate(url);
    SyncCurrentTab();
    return sheet;
}

void TPageControl::OpenFirstPage(const QString& text)
{
    if (text.isEmpty() || !m_curBrowser)
        return;
    openWatched(m_curBrowser, text);
    m_underWay = {m_curBrowser, text};
}

void TPageControl::NavigateCurrent(const QString& text)
{
    const UnderWay underWay = std::exchange(m_underWay, UnderWay{});
    if (underWay.browser && underWay.browser == m_curBrowser && text == underWay.text)
        return;
    if (m_curBrowser)
        openWatched(m_curBrowser, text);
}

TWebbrowser* TPageControl::preload(const QString& text)
{
    TWebbrowser* browser = newSheet(this);
    browser->parentWidget()->hide();  // a child of no tab
    browser->setNewWindowHandler([](TWebbrowser*) { return nullptr; });
    if (auto* page = qobject_cast<TBrowserPage*>(browser->page()))
        page->setOutOfSight(true);
    browser->Navigate(text);
    return browser;
}

void TPageControl::showPreloaded(TWebbrowser* browser, const QString& text)
{
    QWidget* sheet = browser->parentWidget();
    if (auto* page = qobject_cast<TBrowserPage*>(browser->page()))
        page->setOutOfSight(false);
    {
        const QSignalBlocker quiet(this);
        wireBrowser(browser);
        const int index = currentIndex() + 1;
        insertTab(index, sheet,
                  browser->title().isEmpty() ? NewBrowserCaption() : TabCaptionForTitle(browser->title()));
        setTabToolTip(index, PlainTextToolTip(browser->title()));
        setCurrentIndex(index);
    }
    m_underWay = {browser, text};
    SyncCurrentTab();
}

void TPageControl::closeBrowser(TWebbrowser* browser)
{
    const int index = indexOfBrowser(browser);
    if (index == 0 || !browser)
        return;
    if (index < 0) {
        deleteSheet(browser);
        return;
    }
    {
        const QSignalBlocker quiet(this);
        removeBrowserPage(index);
    }
    SyncCurrentTab();
}

// A stored address that leads nowhere would otherwise leave a blank tab
// without a word. A load the user stops or replaces is no failure.
void TPageControl::openWatched(TWebbrowser* browser, const QString& text)
{
    if (text.isEmpty())
        return;
    const QUrl url = QUrl::fromUserInput(text);
    if (!url.isValid()) {
        emit pageCannotOpen(text, url.errorString());
        return;
    }
    browser->Navigate(text);
    QWebEnginePage* page = browser->page();
    auto watch = std::make_shared<QMetaObject::Connection>();
    *watch =
        connect(page, &QWebEnginePage::loadingChanged, this, [this, watch, text](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
                return;
            disconnect(*watch);
            if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
                emit pageCannotOpen(text, info.errorString());
        });
}

void TPageControl::SyncCurrentTab()
{
    m_curBrowser = browserAt(currentIndex());
    TWebbrowser* browser = m_curBrowser;
    emit currentBrowserChanged(browser);
    if (!browser)
        return;
    // A tab that never showed a page has no title to put after the product name.
    emit windowCaptionChanged(browser->url().isEmpty() ? BaseWindowCaption() : WindowCaptionForTitle(browser->title()));
    emit historyStateChanged(browser->canGoBack(), browser->canGoForward());
}

void TPageControl::PageControlChange() { SyncCurrentTab(); }

bool TPageControl::removeBrowserPage(int index)
{
    TWebbrowser* browser = browserAt(index);
    if (!browser)
        return false;
    removeTab(index);
    deleteSheet(browser);
    return true;
}

void TPageControl::CloseTab1Click()
{
    if (count() == 1)
        return;
    const int i = currentIndex();
    if (i <= 0)
        return;  // the first tab is never closed
    {
        const QSignalBlocker quiet(this);
        if (!removeBrowserPage(i))
            return;
        setCurrentIndex(i - 1);
    }
    SyncCurrentTab();
}

void TPageControl::MnCloseAllPageClick()
{
    if (count() == 1)
        return;
    {
        const QSignalBlocker quiet(this);
        // Taken from the right end, at most CloseAllLimit pages per use.
        int i = count() - 1;
        for (int counter = 1; counter <= CloseAllLimit && i >= 1; ++counter, --i)
            removeBrowserPage(i);
        setCurrentIndex(0);
    }
    SyncCurrentTab();
}

void TPageControl::PageControlMouseDown(int tabIndex)
{
    // The first press of the double-click selected the tab; closing acts on the shown tab.
    if (tabIndex != currentIndex() || !CloseTab1->isVisible() || !CloseTab1->isEnabled())
        return;
    CloseTab1->trigger();
}

void TPageControl::showPopup(const QPoint& pos) { PCPopup->popup(m_tabBar->mapToGlobal(pos)); }

TWebbrowser* TPageControl::WebBrowser1NewWindow2(TWebbrowser* Sender)
{
    // Pop-ups from a page that is still loading are refused. Nothing waits here: the engine
    // loads the requested page into the returned browser by itself.
    if (!Sender->isReadyStateComplete()) {
        emit newWindowRefused(Sender);
        return nullptr;
    }
    return browserAt(indexOf(CreateTabBrowser(QString(), NewBrowserCaption())));
}

void TPageControl::WebBrowser1TitleChange(TWebbrowser* Sender, const QString& Text)
{
    // The title names the page that sent it: its own tab is renamed, and the window caption
    // changes only when that page is the one shown.
    const int index = indexOfBrowser(Sender);
    if (index < 0)
        return;
    setTabText(index, TabCaptionForTitle(Text));
    setTabToolTip(index, PlainTextToolTip(Text));
    if (Sender != m_curBrowser)
        return;
    emit windowCaptionChanged(WindowCaptionForTitle(Text));
    emit currentUrlChanged(Sender->LocationURL());
}

void TPageControl::WebBrowser1CommandStateChange(TWebbrowser* Sender)
{
    // Any tab's history event re-evaluates the buttons, and they show the shown tab's state.
    Q_UNUSED(Sender);
    if (m_curBrowser)
        emit historyStateChanged(m_curBrowser->canGoBack(), m_curBrowser->canGoForward());
}

void TPageControl::WebBrowser1NavigateComplete2(TWebbrowser* Sender)
{
    if (Sender == m_curBrowser)
        emit currentUrlChanged(Sender->LocationURL());
}
