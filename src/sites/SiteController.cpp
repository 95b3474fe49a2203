#include "SiteController.h"

#include "CredentialsRow.h"
#include "SiteListPanel.h"
#include "TFrmURLEdit.h"

#include <QMessageBox>

SiteController::SiteController(SettingsFile& settings, const QString& dataFolder, QWidget* window)
    : QObject(window), m_store(settings, dataFolder), m_window(window)
{
    connect(&m_store, &SiteStore::urlToOpen, this, &SiteController::urlToOpen);
    connect(&m_store, &SiteStore::addressToShow, this, &SiteController::addressToShow);
    connect(&m_store, &SiteStore::writeFailed, this, &SiteController::writeFailed);
}

SiteController::~SiteController()
{
    // The panels and the editor work on the store: they go before it, unless
    // the window has already taken them with it.
    delete m_listPanel;
    delete m_credentials;
    delete m_editor;
}

void SiteController::buildPanels()
{
    if (m_listPanel)
        return;
    m_listPanel = new SiteListPanel(m_store, m_window);
    m_credentials = new CredentialsRow(m_store, m_window);
    SiteListPanel* list = m_listPanel;
    connect(list, &SiteListPanel::siteClicked, this, &SiteController::LtSubmitUrlClick);
    connect(list, &SiteListPanel::addRequested, this, &SiteController::BtnAddURLClick);
    connect(list, &SiteListPanel::updateRequested, this, &SiteController::BtnUpdateURLClick);
    connect(list, &SiteListPanel::deleteRequested, this, &SiteController::BtnDeleteURLClick);
    connect(list, &SiteListPanel::moveRequested, this, [this](int step) {
        if (step < 0)
            MnUpClick();
        else
            UpDownClick();
    });
    connect(list, &SiteListPanel::credentialsRowToggled, this, &SiteController::CbEditURLClick);
    CbEditURLClick();
}

SiteListPanel* SiteController::listPanel() const { return m_listPanel; }
CredentialsRow* SiteController::credentialsRow() const { return m_credentials; }
TFrmURLEdit* SiteController::siteEditor() const { return m_editor; }

QString SiteController::siteArticleIdText() const { return m_credentials->siteArticleIdText(); }

bool SiteController::isCredentialsRowShown() const { return m_listPanel->isCredentialsRowShown(); }

void SiteController::setCredentialsRowShown(bool shown)
{
    m_listPanel->setCredentialsRowShown(shown);
    CbEditURLClick();
}

void SiteController::CbEditURLClick() { m_credentials->setVisible(isCredentialsRowShown()); }

void SiteController::setFullScreen(bool fullScreen)
{
    m_credentials->setVisible(!fullScreen && isCredentialsRowShown());
}

void SiteController::LtSubmitUrlClick(bool extendingSelection)
{
    const int p = m_store.currentPosition();
    if (p < 0)
        return;
    if (extendingSelection)
        m_store.FillCurrentSite();  // keep the selection the user is building
    else
        m_store.SelectSite(p);
}

bool SiteController::ShowSiteEditor(bool update, bool keepEntries)
{
    if (!m_editor)
        m_editor = new TFrmURLEdit(m_store.record(), m_window);
    m_editor->prepare(update, keepEntries);
    m_editor->exec();
    return m_store.record().confirmed;
}

void SiteController::BtnAddURLClick() { editAndStore(false); }

void SiteController::BtnUpdateURLClick()
{
    const int p = m_store.currentPosition();
    if (p < 0)
        return;
    m_store.record().siteName = m_store.siteName(p);
    editAndStore(true);
}

// Shows the editor until its entry is stored or the user gives up: after a
// failed save the user sees why and gets the entry back to try again, and
// giving up leaves the current site's record as it was.
void SiteController::editAndStore(bool update)
{
    const TMyURL before = m_store.record();
    bool retry = false;
    while (ShowSiteEditor(update, retry)) {
        QString error;
        const auto watch = connect(&m_store, &SiteStore::writeFailed, this, [&error](const QString& e) {
            if (error.isEmpty())
                error = e;
        });
        const bool stored = m_store.StoreSite(update);
        disconnect(watch);
        if (stored) {
            m_listPanel->focusList();
            if (!update)
                m_store.openUrl(m_store.record().url);  // as entered
            return;
        }
        QMessageBox::warning(m_window, m_editor->windowTitle(), error);
        retry = true;
    }
    if (retry) {
        m_store.record() = before;
        m_store.record().confirmed = false;
    }
}

void SiteController::BtnDeleteURLClick() { m_store.DeleteSelectedSites(); }

void SiteController::MnUpClick() { m_store.MoveSite(-1); }

void SiteController::UpDownClick() { m_store.MoveSite(1); }
