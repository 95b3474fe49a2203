#include "TBrowserPage.h"

#include "BrowserCaptions.h"

TBrowserPage::TBrowserPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent)
{
    // A script's window.close() must not take the tab (or the window) with it.
    connect(this, &QWebEnginePage::windowCloseRequested, this, &TBrowserPage::answerCloseRequest);
}

void TBrowserPage::answerCloseRequest()
{
    setUrl(QUrl(BlankPageAddress()));
    emit closeRequestAnswered();
}
