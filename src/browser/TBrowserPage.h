#pragma once

#include <QWebEnginePage>

class SubmitWatch;

// The page of every browser in the window. Free of UI: it reports through signals and
// leaves showing things to its view and the tab control.
class TBrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    TBrowserPage(QWebEngineProfile* profile, QObject* parent = nullptr);

    // "Ready state complete": nothing is loading. A fresh, never-navigated page is complete.
    bool isReadyStateComplete() const { return !isLoading(); }
    // The schemes the browser shows itself.
    static bool isBrowserScheme(const QString& scheme);
    // A page loaded out of sight (in no tab yet) opens no dialog: nobody
    // could tell whose it is. Its alerts go unseen, its questions get No.
    void setOutOfSight(bool outOfSight) { m_outOfSight = outOfSight; }
    bool isOutOfSight() const { return m_outOfSight; }

signals:
    // The page asked to close its window; it now shows "about:blank" instead.
    void closeRequestAnswered();
    // A link of a scheme the browser does not handle itself (ssh:, an
    // application's own, a page's file: link): refused here, for the view
    // to ask the user about.
    void externalLinkRequested(const QUrl& link);
    // The page posted a form (see SubmitWatch); `pageUrl` is where it was.
    // `withoutLoad`: the main frame does not load for it.
    void formSubmitted(const QUrl& pageUrl, bool withoutLoad);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

private:
    void answerCloseRequest();

    bool m_outOfSight = false;
};
