// The main window as composition root: builds each subsystem, places its
// panels in the layout and connects them.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ArticleListPanel.h"
#include "BrowserProfile.h"
#include "ContentPanel.h"
#include "CredentialGuard.h"
#include "CredentialsRow.h"
#include "DocumentTransfer.h"
#include "GeneralKeys.h"
#include "HotkeyDispatcher.h"
#include "HotkeyTarget.h"
#include "InterfaceTexts.h"
#include "OpenLocation.h"
#include "Pictures.h"
#include "SettingsFile.h"
#include "SettingsFileLoader.h"
#include "SiteController.h"
#include "SiteListPanel.h"
#include "StoredFile.h"
#include "TAddressBar.h"
#include "TMyURL.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TFrmHelp.h"
#include "TFrmVersion.h"
#include "VendorWindows.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton* pictureButton(const char* name, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setFocusPolicy(Qt::TabFocus);  // reached by Tab; a click leaves the focus where it is
    // The face carries its own label; the button is exactly the picture.
    if (Pictures::exists(QLatin1String(name)))
        button->setFixedSize(Pictures::pictureSize(QLatin1String(name)));
    button->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; }"));
    button->setToolTip(hint);
    LoadButtonPicture(button, QLatin1String(name));
    return button;
}

}  // namespace

void TFrmMain::buildPanels()
{
    // Cookies and logins live in a subfolder, which export and import leave
    // alone. Making the profile starts the browser engine, while the settings
    // file is still being read.
    m_profile = new BrowserProfile(m_dataFolder + QStringLiteral("browser/"), this);
    buildHistory();
    m_settings = m_settingsLoader->take().release();
    m_settings->setParent(this);
    m_settingsLoader.reset();
    m_sites = new SiteController(*m_settings, m_dataFolder, this);
    // The browser first: the stored site's page loads while the rest is built.
    PageControl = new TPageControl(*m_profile, m_layout.Panel1);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    openStoredSitePage();
    m_articles = new ArticleController(*m_settings, m_dataFolder, this);
    m_sites->buildPanels();

    // Left column: site list over article list, about and exit at the foot.
    m_layout.Splitter4->addWidget(m_sites->listPanel());
    m_layout.Splitter4->addWidget(m_articles->listPanel());
    m_layout.Splitter4->setStretchFactor(0, 1);
    m_layout.Splitter4->setStretchFactor(1, 0);
    m_layout.Splitter4->setSizes({300, 302});
    QHBoxLayout* foot = new QHBoxLayout(m_layout.Panel10);
    foot->setContentsMargins(0, 0, 0, 0);
    BtnIHAboutUs = pictureButton("BtnIHAboutUs", tr("关于QVBzevi"), m_layout.Panel10);
    BtnIHExit = pictureButton("BtnIHExit", tr("退出QVBzevi"), m_layout.Panel10);
    foot->addWidget(BtnIHAboutUs);
    foot->addWidget(BtnIHExit);
    m_layout.PnlArticleEdit->setWidget(m_articles->contentPanel());

    // Browser column: credentials row, address bar, tabs.
    m_layout.browserColumn->insertWidget(0, m_sites->credentialsRow());
    m_addressBar = new TAddressBar(*PageControl, m_layout.Panel1, &LoadButtonPicture);
    m_layout.browserArea->addWidget(m_addressBar);
    m_layout.browserArea->addWidget(PageControl, 1);

    m_hotkeys = new HotkeyDispatcher(this);
    m_transfer = new DocumentTransfer(m_dataFolder, this, this);
    m_vendorWindows = new VendorWindows(this);
}

void TFrmMain::wireSubsystems()
{
    m_sites->store().setArticleNameSource([this] { return m_articles->currentArticleName(); });
    connect(m_sites, &SiteController::urlToOpen, PageControl, &TPageControl::NavigateCurrent);
    connect(m_sites, &SiteController::addressToShow, m_addressBar, &TAddressBar::setAddressText);
    connect(m_articles, &ArticleController::currentArticleChanged, m_sites, &SiteController::LoadSiteArticleId);
    connect(m_sites, &SiteController::writeFailed, this, &TFrmMain::reportWriteFailure);
    connect(m_articles, &ArticleController::writeFailed, this, &TFrmMain::reportWriteFailure);

    ArticleListPanel* list = m_articles->listPanel();
    connect(list, &ArticleListPanel::contentPanelToggled, this, &TFrmMain::CbIhEditClick);
    connect(m_layout.Splitter1, &QSplitter::splitterMoved, this, &TFrmMain::Splitter2Moved);
    connect(m_addressBar, &TAddressBar::fullScreenRequested, this, &TFrmMain::BtnFullScreenClick);
    connect(m_addressBar, &TAddressBar::exitRequested, this, &TFrmMain::BtnIHExitClick);
    connect(BtnIHExit, &QAbstractButton::clicked, this, &TFrmMain::BtnIHExitClick);
    connect(BtnIHAboutUs, &QAbstractButton::clicked, this, &TFrmMain::MnAboutClick);
    connect(list, &ArticleListPanel::helpRequested, this, &TFrmMain::MnHelpClick);
    connect(list, &ArticleListPanel::exportRequested, m_transfer, &DocumentTransfer::BtnIHExportClick);
    connect(list, &ArticleListPanel::importRequested, m_transfer, &DocumentTransfer::BtnIHImportClick);
    connect(m_transfer, &DocumentTransfer::hint, this, &TFrmMain::showHint);
    // Pending field edits are saved before a copy: the export holds them, and
    // no focus change can later write the old article over imported files.
    auto savePendingEdits = [this] {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        m_articles->store().waitForFiles();  // the renames of a delete may still run
    };
    connect(m_transfer, &DocumentTransfer::aboutToExport, this, savePendingEdits);
    // While an import copies, nothing may write into the data folder: the
    // editing areas rest until the copy is over and the data is read again.
    connect(m_transfer, &DocumentTransfer::aboutToImport, this, [this, savePendingEdits] {
        savePendingEdits();
        m_layout.ScrollBoxLeft->setEnabled(false);
        m_sites->credentialsRow()->setEnabled(false);
    });
    connect(m_transfer, &DocumentTransfer::transferFinished, this, [this] {
        m_layout.ScrollBoxLeft->setEnabled(true);
        m_sites->credentialsRow()->setEnabled(true);
    });
    connect(m_transfer, &DocumentTransfer::importFinished, this, &TFrmMain::reloadAfterImport);
    m_layout.Image48->installEventFilter(this);

    connect(PageControl, &TPageControl::windowCaptionChanged, this, &QWidget::setWindowTitle);
    // The hook rests while the current browser changes, as the tab control switches.
    connect(PageControl, &TPageControl::currentBrowserChanged, m_hotkeys, [this] {
        m_hotkeys->detach();
        m_hotkeys->attach();
    });
    connect(PageControl, &TPageControl::pageCannotOpen, this, [this](const QString& address, const QString& reason) {
        reportProblem(tr("无法打开网址：%1（%2）").arg(address, reason));
    });
    // Back from another program, which may have changed the shown article's files.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && !m_closing)
            m_articles->RereadShownArticle();
    });
    connect(PageControl->WebBrowser1, &QWebEngineView::loadFinished, this, &TFrmMain::reportFirstPage);

    m_hotkeys->setCurrentBrowser([this]() -> QWidget* { return PageControl->CurBrowser(); });
    m_hotkeys->setTextFor([this](HotkeyTarget target) -> QString {
        switch (target.kind) {
        case HotkeyTarget::Kind::Clause: return m_articles->clauseFieldText(target.number);
        case HotkeyTarget::Kind::Paragraph: return m_articles->paragraphFieldText(target.number);
        case HotkeyTarget::Kind::SiteArticleId: return m_sites->siteArticleIdText();
        case HotkeyTarget::Kind::UserName: return m_sites->store().record().userName;
        case HotkeyTarget::Kind::Password: return m_sites->store().record().password;
        }
        return QString();
    });
    m_credentialGuard = new CredentialGuard(
        this,
        [this] {
            const TMyURL& record = m_sites->store().record();
            return CredentialGuard::CurrentSite{record.siteName, record.url};
        },
        this);
    connect(m_credentialGuard, &CredentialGuard::refused, this, &TFrmMain::showHint);
    m_hotkeys->setCredentialGate([this](HotkeyTarget target, QWidget* receiver, HotkeyDispatcher::Paste paste) {
        m_credentialGuard->checkHotkey(target, receiver, std::move(paste));
    });
    wireHistory();
    wireFormFill();
    wireContinuousRound();
    wireTeam();
    m_hotkeys->attach();
}

QToolButton* TFrmMain::addCornerButton(const char* name, const QString& text, const QString& hint)
{
    if (!m_cornerButtons) {
        auto* corner = new QWidget(PageControl);
        m_cornerButtons = new QHBoxLayout(corner);
        m_cornerButtons->setContentsMargins(0, 0, 2, 0);
        m_cornerButtons->setSpacing(2);
        PageControl->setCornerWidget(corner, Qt::TopRightCorner);
    }
    auto* button = new QToolButton(PageControl);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);  // a click leaves the focus in the page; Tab reaches it
    m_cornerButtons->addWidget(button);
    return button;
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_layout.Image48 && event->type() == QEvent::MouseButtonPress) {
        Image48MouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMain::Image48MouseDown() { OpenLocation(InterfaceTexts::homePageAddress()); }

void TFrmMain::MnAboutClick() { m_vendorWindows->showAbout(); }

void TFrmMain::MnHelpClick() { m_vendorWindows->showHelp(); }

void TFrmMain::reloadAfterImport()
{
    // The settings file notices the imported copy by itself; the lists and the
    // open article are read again, nothing of the old state is saved over them.
    StoredFile::forgetUnreadableFiles();
    SelectStoredItems(GeneralKeys::read(*m_settings), true);
}

void TFrmMain::reportWriteFailure(const QString& error)
{
    const QString text = tr("无法保存：%1").arg(error);
    showHint(text);
    // At exit the hint line is gone with the window: say it in a box.
    if (m_closing)
        QMessageBox::warning(this, InterfaceTexts::productName(), text);
}
