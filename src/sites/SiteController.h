#pragma once

#include "SiteStore.h"

#include <QObject>
#include <QPointer>

class CredentialsRow;
class SettingsFile;
class SiteListPanel;
class TFrmURLEdit;
class QWidget;

// The site book as the main window sees it: owns the store, builds the site
// list panel (GbSiteList) and the credentials row (SbLocation) for the window
// to place, and holds the handlers of the list's buttons, menu and editor.
// The panels are built by buildPanels(), after the store: the window reads
// the site list and asks for the stored site's page before any panel exists.
class SiteController : public QObject {
    Q_OBJECT
public:
    SiteController(SettingsFile& settings, const QString& dataFolder, QWidget* window);
    ~SiteController() override;

    void buildPanels();

    SiteStore& store() { return m_store; }
    SiteListPanel* listPanel() const;
    CredentialsRow* credentialsRow() const;
    TFrmURLEdit* siteEditor() const;  // created on first use, then kept

    // For the main window: start-up, shutdown, hotkeys, full screen, import.
    void LoadSiteList() { m_store.LoadSiteList(); }
    QString addressToOpen(int k) const { return m_store.addressToOpen(k); }
    void SelectSite(int k) { m_store.SelectSite(k); }
    int currentPosition() const { return m_store.currentPosition(); }
    int count() const { return m_store.count(); }
    QString siteArticleIdText() const;
    bool isCredentialsRowShown() const;  // CbEditURL
    void setCredentialsRowShown(bool shown);
    // In full screen the row rests hidden; back from it, CbEditURL decides.
    void setFullScreen(bool fullScreen);

    // Shows the editor modally; true when it was confirmed.
    bool ShowSiteEditor(bool update, bool keepEntries = false);

public slots:
    // Handlers of the site list, its buttons and its menu.
    void LtSubmitUrlClick(bool extendingSelection);
    void BtnAddURLClick();
    void BtnUpdateURLClick();
    void BtnDeleteURLClick();
    void MnUpClick();
    void UpDownClick();
    void CbEditURLClick();
    // The current article changed: its identifier at the current site.
    void LoadSiteArticleId() { m_store.LoadSiteArticleId(); }

signals:
    void urlToOpen(const QString& url);
    void addressToShow(const QString& url);
    void writeFailed(const QString& error);

private:
    void editAndStore(bool update);

    SiteStore m_store;
    QWidget* m_window;
    QPointer<SiteListPanel> m_listPanel;
    QPointer<CredentialsRow> m_credentials;
    QPointer<TFrmURLEdit> m_editor;
};
