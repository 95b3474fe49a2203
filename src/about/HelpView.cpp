#include "HelpView.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {

class QuietPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    // Refuses a leave warning too: the page then stays, which loses nothing.
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

}  // namespace

HelpView::HelpView(QWidget* parent) : QWebEngineView(parent)
{
    // A profile without a storage name is off the record.
    auto* profile = new QWebEngineProfile;
    auto* page = new QuietPage(profile, this);
    // The page owns its profile: the engine wants the page gone first, and a
    // QObject's children go after the object itself.
    profile->setParent(page);
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    setPage(page);
}

QWebEngineView* HelpView::createWindow(QWebEnginePage::WebWindowType) { return nullptr; }
