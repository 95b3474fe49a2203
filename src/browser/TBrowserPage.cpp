#include "TBrowserPage.h"

#include "BrowserCaptions.h"
#include "SubmitWatch.h"

TBrowserPage::TBrowserPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent)
{
    // A script's window.close() must not take the tab (or the window) with it.
    connect(this, &QWebEnginePage::windowCloseRequested, this, &TBrowserPage::answerCloseRequest);
    auto* watch = new SubmitWatch(this);
    setUrlRequestInterceptor(watch);
    connect(watch, &SubmitWatch::submitted, this, [this](bool withoutLoad) { emit formSubmitted(url(), withoutLoad); });
}

void TBrowserPage::answerCloseRequest()
{
    setUrl(QUrl(BlankPageAddress()));
    emit closeRequestAnswered();
}

bool TBrowserPage::isBrowserScheme(const QString& scheme)
{
    static const QStringList shown{
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("about"),        QStringLiteral("data"),
        QStringLiteral("blob"), QStringLiteral("qrc"),   QStringLiteral("chrome-error"), QStringLiteral("view-source")};
    return shown.contains(scheme.toLower());
}

bool TBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // A local file opens when the user typed its address; a page's link to
    // one is another program's business, as every other scheme is.
    const bool typedFile = url.isLocalFile() && type == NavigationTypeTyped;
    if (isBrowserScheme(url.scheme()) || typedFile)
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    // Asked later, never inside the engine's request.
    QMetaObject::invokeMethod(
        this, [this, url] { emit externalLinkRequested(url); }, Qt::QueuedConnection);
    return false;
}

void TBrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (!m_outOfSight)
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool TBrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    return !m_outOfSight && QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool TBrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                                    QString* result)
{
    return !m_outOfSight && QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

QStringList TBrowserPage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                      const QStringList& acceptedMimeTypes)
{
    return m_outOfSight ? QStringList() : QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
}
