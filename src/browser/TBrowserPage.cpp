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
