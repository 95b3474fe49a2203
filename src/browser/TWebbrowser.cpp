#include "TWebbrowser.h"

#include "BrowserProfile.h"
#include "OpenLocation.h"
#include "TBrowserPage.h"

#include <QAction>
#include <QMessageBox>
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
    connect(m_page, &TBrowserPage::externalLinkRequested, this, &TWebbrowser::askToOpenExternalLink);
}

void TWebbrowser::askToOpenExternalLink(const QUrl& link)
{
    QMessageBox box(QMessageBox::Question, window()->windowTitle(),
                    tr("网页要用别的程序打开一个「%1:」链接：\n%2\n\n打开吗？")
                        .arg(link.scheme(), link.toDisplayString().left(300)),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);  // the link is the page's to choose
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes)
        OpenExternalLink(link);
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
