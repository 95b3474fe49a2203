#pragma once

#include <QPointer>
#include <QTabWidget>

class BrowserProfile;
class QAction;
class QMenu;
class TPageControlTabBar;
class TWebbrowser;

// PageControl: the browser tabs of the main window. Every page holds one TWebbrowser filling
// it; the first page, TabSheet1 with WebBrowser1, is never closed. Pages a web page asks
// for as new windows are inserted right of the shown tab. The shown tab's browser is
// CurBrowser; whoever acts on it follows currentBrowserChanged.
class TPageControl : public QTabWidget {
    Q_OBJECT
public:
    // The maximum number of pages one use of "close all pages" closes.
    static constexpr int CloseAllLimit = 30;

    explicit TPageControl(BrowserProfile& profile, QWidget* parent = nullptr);
    ~TPageControl() override;

    // The system's controls, made once in the constructor.
    QWidget* TabSheet1 = nullptr;
    TWebbrowser* WebBrowser1 = nullptr;
    QMenu* PCPopup = nullptr;
    QAction* CloseTab1 = nullptr;  // "关闭当前页", the menu's default item
    QAction* MnCloseAllPage = nullptr;  // "关闭所有页"

    TWebbrowser* CurBrowser() const { return m_curBrowser; }
    TWebbrowser* browserAt(int index) const;
    int indexOfBrowser(const TWebbrowser* browser) const;
    TPageControlTabBar* pageTabBar() const { return m_tabBar; }

    // Adds a page with a new browser right of the shown tab, shows it, opens `url` unless it
    // is blank (the text itself is passed on untrimmed) and returns the page.
    QWidget* CreateTabBrowser(const QString& url, const QString& caption);
    // Opens `text` in the current browser, unchanged: no scheme added, nothing trimmed.
    void NavigateCurrent(const QString& text);
    // At start-up: opens `text` at once, while the rest of the window is
    // built. The NavigateCurrent that follows for the same text finds it under
    // way and does not load it twice.
    void OpenFirstPage(const QString& text);
    // Re-establishes CurBrowser after any change of the shown tab and tells the followers.
    void SyncCurrentTab();

    // A page loaded out of sight, to be shown at once later: a browser in no
    // tab, opening `text`. While out of sight it opens no new windows.
    TWebbrowser* preload(const QString& text);
    // Shows a preloaded browser as a new tab right of the shown one. The
    // NavigateCurrent that follows for `text` finds it under way.
    void showPreloaded(TWebbrowser* browser, const QString& text);
    // Closes the tab of `browser` (never the first), or drops a preload.
    void closeBrowser(TWebbrowser* browser);

public slots:
    void CloseTab1Click();
    void MnCloseAllPageClick();
    void PageControlChange();
    // A double-click of the left button on a tab closes it (the first tab stays).
    void PageControlMouseDown(int tabIndex);

    // Browser events, the same handlers for every tab.
    TWebbrowser* WebBrowser1NewWindow2(TWebbrowser* Sender);
    void WebBrowser1TitleChange(TWebbrowser* Sender, const QString& Text);
    void WebBrowser1CommandStateChange(TWebbrowser* Sender);
    void WebBrowser1NavigateComplete2(TWebbrowser* Sender);

signals:
    // CurBrowser is now `browser` (after a new tab, a tab selection or a close).
    void currentBrowserChanged(TWebbrowser* browser);
    // The window caption to show: follows the shown tab's title.
    void windowCaptionChanged(const QString& caption);
    // The shown page's address changed by the page itself (navigation, title).
    void currentUrlChanged(const QString& url);
    // Back / forward availability of the shown tab, re-evaluated on every history event.
    void historyStateChanged(bool canGoBack, bool canGoForward);
    // A page asked for a new window while still loading; no tab was made.
    void newWindowRefused(TWebbrowser* requester);
    // An address given to OpenFirstPage or NavigateCurrent could not be opened.
    void pageCannotOpen(const QString& address, const QString& reason);

private:
    // A page (a sheet) holding a new browser that fills it; the browser is returned.
    TWebbrowser* newSheet(QWidget* parent);
    static void deleteSheet(TWebbrowser* browser);
    QWidget* addBrowserPage(int index, const QString& caption, const QString& objectName = {});
    void wireBrowser(TWebbrowser* browser);
    void openWatched(TWebbrowser* browser, const QString& text);
    bool removeBrowserPage(int index);
    void showPopup(const QPoint& pos);

    BrowserProfile& m_profile;
    TPageControlTabBar* m_tabBar = nullptr;
    QPointer<TWebbrowser> m_curBrowser;
    // Opened by OpenFirstPage or shown by showPreloaded, until the next NavigateCurrent.
    struct UnderWay {
        QPointer<TWebbrowser> browser;
        QString text;
    } m_underWay;
};
