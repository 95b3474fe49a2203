#include "TWebbrowser.h"

#include "BrowserProfile.h"
#include "TBrowserPage.h"

#include <QAction>
#include <QWebEngineHistory>
#include <QWebEngineProfile>

TWebbrowser::TWebbrowser(BrowserProfile* profile, QWidget* parent) : QWebEngineView(parent)
{
    m_page = profile ? profile->createPage(this) : new TBrowserPage(QWebEngineProfile::defaultProfile(), this);
    setPage(m_page);
    // The page's own actions tell when history availability changes, in either direction.
    for (QWebEnginePage::WebAction action : {QWebEnginePage::Back, QWebEnginePage::Forward}) {
        connect(pageAction(action), &QAction::changed, this, [this] { emit historyStateChanged(this); });
    }
    connect(this, &QWebEngineView::urlChanged, this, [this] { emit historyStateChanged(this); });
}

TWebbrowser::~TWebbrowser() = default;

TBrowserPage* TWebbrowser::browserPage() const { return m_page; }

bool TWebbrowser::isReadyStateComplete() const { return !m_page || m_page->isReadyStateComplete(); }

void TWebbrowser::Navigate(const QString& text)
{
    if (text.isEmpty() || !m_page)
        return;
    setUrl(QUrl::fromUserInput(text));
}

QString TWebbrowser::LocationURL() const { return m_page ? url().toString() : QString(); }

bool TWebbrowser::canGoBack() const { return m_page && history()->canGoBack(); }

bool TWebbrowser::canGoForward() const { return m_page && history()->canGoForward(); }

QWebEngineView* TWebbrowser::createWindow(QWebEnginePage::WebWindowType)
{
    return m_newWindowHandler ? m_newWindowHandler(this) : nullptr;
}
