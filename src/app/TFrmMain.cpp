// Start-up and shutdown of the main window.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ArticleListPanel.h"
#include "DataFolder.h"
#include "GeneralKeys.h"
#include "HeldPostsPrompt.h"
#include "HistoryDatabase.h"
#include "HotkeyDispatcher.h"
#include "TeamRound.h"
#include "InterfaceTexts.h"
#include "PostHistory.h"
#include "PostRecorder.h"
#include "SettingsFile.h"
#include "SettingsFileLoader.h"
#include "SiteController.h"
#include "TAddressBar.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "BrowserCaptions.h"
#include "CheckForUpdate.h"
#include "HelpView.h"
#include "TFrmHelp.h"
#include "VendorWindows.h"
#include "DialogTexts.h"
#include "StoredFile.h"

#include <QApplication>
#include <QLabel>
#include <QCloseEvent>
#include <QDir>
#include <QScrollArea>
#include <QSplitter>

namespace {
constexpr int MinimumRestoredPanelWidth = 120;
}

TFrmMain::TFrmMain(const QString& dataFolder, QWidget* parent) : QWidget(parent), m_dataFolder(dataFolder)
{
    FormCreate();
}

TFrmMain::~TFrmMain()
{
    SaveAllData();
    m_hotkeys->detach();
    // The team's connection ends while the window is whole; what it has not
    // sent waits in history.sqlite for the next start.
    if (m_team) {
        m_team->disconnect();
        m_team->stop();
    }
}

void TFrmMain::FormCreate()
{
    setObjectName(QStringLiteral("TFrmMain"));
    resize(915, 604);
    setFont(windowFont());
    SelectDialogLanguage(0);
    InterfaceTexts::LoadInterfaceTexts();
    // The data folder comes first here: the settings file, the browser
    // profile and the stores all live in it.
    DataFolder::ensure(m_dataFolder);
    DataFolder::removeStaleTemporaries(m_dataFolder);
    m_settingsLoader = std::make_unique<SettingsFileLoader>(m_dataFolder + QStringLiteral("defualt.ini"));
    m_layout = MainLayout::build(this);
    buildPanels();
    ApplySkin();
    wireSubsystems();
    setUpKeyboard();
    TimerFirstRun.setSingleShot(true);
    TimerFirstRun.setInterval(1000);
    connect(&TimerFirstRun, &QTimer::timeout, this, &TFrmMain::TimerFirstRunTimer);
    TimerFirstRun.start();
    m_layout.LblHint->clear();
    LoadAllData();
    reportStartupProblems();
    // A session that ends (logout, a terminate request) saves like a close.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TFrmMain::SaveAllData);
}

SiteStore* TFrmMain::siteStore() const { return &m_sites->store(); }

// Reads the site list and starts loading the page that SelectStoredItems'
// SelectSite opens, before the panels are built: the page loads meanwhile.
void TFrmMain::openStoredSitePage()
{
    m_sites->LoadSiteList();
    PageControl->OpenFirstPage(m_sites->addressToOpen(GeneralKeys::read(*m_settings).SiteInd));
}

// The start-up order, kept by the reload after an import too: both lists,
// the stored article, then the stored site (its identifier field belongs to
// the current article) and with it the stored page. At start-up the site
// list has been read by openStoredSitePage(); after an import the article
// shown before goes, even when the imported list is empty.
void TFrmMain::SelectStoredItems(const GeneralKeys& stored, bool afterImport)
{
    if (afterImport) {
        m_articles->ReloadFromDisk(stored.SoftwareInd);
        m_sites->LoadSiteList();
    } else {
        m_articles->LoadArticleNames();
        m_articles->SelectArticle(stored.SoftwareInd);
    }
    m_sites->SelectSite(stored.SiteInd);
}

void TFrmMain::LoadAllData()
{
    const GeneralKeys stored = GeneralKeys::read(*m_settings);
    SelectStoredItems(stored, false);
    const int panelWidth = stored.EditPanelWidth;
    m_rememberedContentWidth = stored.CurArticlePnlWidth;
    m_sites->setCredentialsRowShown(stored.CbEditURL);
    m_articles->listPanel()->setContentPanelShown(stored.Edit);
    CbIhEditClick();
    // The panel comes back at the width the user left it, unless that width
    // was taken while the panel was hidden (a sliver).
    if (isContentPanelShown() && panelWidth >= MinimumRestoredPanelWidth) {
        const QList<int> sizes = m_layout.Splitter1->sizes();
        const int left = MainLayout::ListColumnWidth + qMax(10, panelWidth);
        m_layout.Splitter1->setSizes({left, qMax(0, sizes.value(0) + sizes.value(1) - left)});
    }
}

void TFrmMain::SaveAllData()
{
    if (m_saved)
        return;
    m_saved = true;
    m_closing = true;
    // An edit whose save failed is still marked changed and is tried once
    // more. Its failures come back here and are told in one box, with the
    // files and the reasons, not in one box per failed file.
    bool articleSaved = false;
    {
        const QSignalBlocker oneBox(m_articles);
        articleSaved = m_articles->SaveCurrentArticle();
    }
    if (!articleSaved)
        reportWriteFailure(m_articles->store().lastError());
    GeneralKeys keys;
    keys.SoftwareInd = m_articles->currentIndex();
    keys.SiteInd = m_sites->currentPosition();
    keys.Edit = isContentPanelShown();
    keys.CbEditURL = m_sites->isCredentialsRowShown();
    keys.EditPanelWidth = m_layout.PnlArticleEdit->width();
    keys.CurArticlePnlWidth = m_rememberedContentWidth;
    // One rewrite: the general keys, and the end of the lists' records, which
    // must not outlive this run (another program may change the lists before
    // the next one).
    SettingsFile::Batch batch(*m_settings);
    m_articles->store().forgetFinishedDelete();
    m_sites->store().forgetFinishedChange();
    keys.write(*m_settings);
    if (!batch.commit())
        reportWriteFailure(m_settings->lastError());
    // Posts the database could not take when they were made: a last try, and
    // more while the user asks for them.
    if (m_history)
        HeldPostsPrompt::storeAtExit(*m_history, this);
}

void TFrmMain::BtnIHExitClick()
{
    close();
    QApplication::quit();
}

void TFrmMain::closeEvent(QCloseEvent* event)
{
    // Nothing starts once the window closes: no update query, no help window
    // that the quit would have to close again.
    TimerFirstRun.stop();
    // Fields save when they lose the focus; a close must not skip that.
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    SaveAllData();
    event->accept();
}

void TFrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Splitter2Moved();
}

void TFrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TFrmMain::TimerFirstRunTimer()
{
    TimerFirstRun.stop();
    // Only now: a request during start-up would slow the first page down.
    CheckForUpdate(this);
    // A first start shows the vendor's help in the help window, off the record:
    // the user's browser and its logins never load the vendor's pages.
    if (m_sites->count() == 0) {
        // The first tab stays empty: the help page is the first page shown.
        TFrmHelp* help = m_vendorWindows->showHelp();
        connect(help->WebBrowser1, &QWebEngineView::loadFinished, this, &TFrmMain::reportFirstPage,
                Qt::SingleShotConnection);
    }
}

void TFrmMain::reportFirstPage()
{
    if (m_firstPageReported)
        return;
    m_firstPageReported = true;
    emit firstPageLoaded();
}

void TFrmMain::showHint(const QString& text)
{
    m_problems.clear();
    setHintText(text);
}

void TFrmMain::reportProblem(const QString& text)
{
    m_problems << text;
    setHintText(m_problems.join(tr("；")));
}

void TFrmMain::setHintText(const QString& text)
{
    m_layout.LblHint->setText(text);
    // A long text runs past the line's end: the tooltip shows it whole, a "<" in it as a "<".
    m_layout.LblHint->setToolTip(PlainTextToolTip(text));
}

// Said at once, not first when the exit cannot save.
void TFrmMain::reportStartupProblems()
{
    if (const QString problem = DataFolder::writeProblem(m_dataFolder); !problem.isEmpty())
        reportProblem(
            tr("数据文件夹不能写入，修改将无法保存：%1（%2）").arg(QDir::toNativeSeparators(m_dataFolder), problem));
    for (const QString& file : StoredFile::unreadableFiles())
        reportProblem(tr("无法读取，程序不会写入此文件：%1").arg(file));
    reportHistoryProblem();
}
