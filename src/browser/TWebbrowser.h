#pragma once

#include <QPointer>
#include <QWebEngineView>

#include <functional>

class BrowserProfile;
class TBrowserPage;

// The browser of every tab (and of the window's other browser areas): a web view whose
// page is a TBrowserPage on the program's persistent profile.
class TWebbrowser : public QWebEngineView {
    Q_OBJECT
public:
    // Answers a page's request for a new window with the browser that is to show it, or
    // nullptr to refuse it. Runs synchronously inside the engine's request; never waits.
    using NewWindowHandler = std::function<TWebbrowser*(TWebbrowser* requester)>;

    // Without a profile the page lives on the engine's default, off-the-record profile.
    explicit TWebbrowser(BrowserProfile* profile, QWidget* parent = nullptr);
    ~TWebbrowser() override;

    TBrowserPage* browserPage() const;
    bool isReadyStateComplete() const;

    // Opens `text` as the engine reads an address typed by a user ("host/path" means http,
    // an absolute path means a local file). Empty text opens nothing.
    void Navigate(const QString& text);
    QString LocationURL() const;
    bool canGoBack() const;
    bool canGoForward() const;

    void setNewWindowHandler(NewWindowHandler handler) { m_newWindowHandler = std::move(handler); }

signals:
    // Back or forward became possible or impossible in this browser's history.
    void historyStateChanged(TWebbrowser* browser);

protected:
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;

private:
    // A page's link to another program: only with the user's yes, No by default.
    void askToOpenExternalLink(const QUrl& link);

    QPointer<TBrowserPage> m_page;
    NewWindowHandler m_newWindowHandler;
};
