// The posting history's part of the main window: the database, the recorder
// that watches every page, the round window and its keys.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "ArticleStore.h"
#include "BrowserProfile.h"
#include "BrowserCaptions.h"
#include "DocumentTransfer.h"
#include "HistoryDatabase.h"
#include "HotkeyDispatcher.h"
#include "PostHistory.h"
#include "PostRecorder.h"
#include "PostRound.h"
#include "SiteController.h"
#include "SiteStore.h"
#include "TBrowserPage.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "TeamRound.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QStringListModel>
#include <QToolButton>
#include <QWebEngineView>

namespace {

// The page that a widget with the focus belongs to, if it is in a browser.
QWebEnginePage* pageHolding(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* view = qobject_cast<QWebEngineView*>(w))
            return view->page();
    return nullptr;
}

}  // namespace

// Before the first page is made: the recorder follows every page from its start.
void TFrmMain::buildHistory()
{
    m_historyDatabase = std::make_unique<HistoryDatabase>(m_dataFolder);
    m_historyDatabase->open();
    m_history = new PostHistory(*m_historyDatabase, this);
    m_postRecorder = new PostRecorder(*m_history, this);
    m_team = new TeamRound(*m_historyDatabase, this);
    connect(m_profile, &BrowserProfile::pageCreated, this, [this](TBrowserPage* page) {
        const PostRecorder::PageKey key = PostRecorder::keyOf(page);
        connect(page, &QWebEnginePage::loadStarted, this, [this, key] { m_postRecorder->loadStarted(key); });
        connect(page, &QWebEnginePage::loadFinished, this,
                [this, key, page](bool ok) { m_postRecorder->loadFinished(key, page->url(), ok); });
        connect(page, &QWebEnginePage::urlChanged, this,
                [this, key](const QUrl& url) { m_postRecorder->urlChanged(key, url); });
        connect(page, &TBrowserPage::formSubmitted, this, [this, key](const QUrl& url, bool withoutLoad) {
            m_postRecorder->formSubmitted(key, url, withoutLoad);
        });
        connect(page, &QObject::destroyed, this, [this, key] { m_postRecorder->pageClosed(key); });
    });
}

void TFrmMain::wireHistory()
{
    SiteStore& sites = m_sites->store();
    PostRound::Hooks hooks;
    hooks.siteNames = [&sites] { return sites.siteNames(); };
    hooks.currentSite = [&sites] { return sites.currentPosition(); };
    hooks.currentArticle = [this] { return m_articles->currentArticleName(); };
    hooks.selectSite = [this](int position) { m_sites->SelectSite(position); };
    // The tab takes the page's title once it loads, as every new tab does.
    hooks.openInNewTab = [this](const QString& address) {
        PageControl->CreateTabBrowser(address, NewBrowserCaption());
    };
    addTeamHooks(hooks);
    m_postRound = new PostRound(*m_history, std::move(hooks), this);

    connect(m_hotkeys, &HotkeyDispatcher::hotkeyPasted, this, [this](HotkeyTarget target, QWidget* receiver) {
        if (target.isArticleText())
            noteArticlePaste(pageHolding(receiver));
    });
    connect(&sites, &SiteStore::siteRenamed, m_history, &PostHistory::renameSite);
    connect(&m_articles->store(), &ArticleStore::articleRenamed, m_history, &PostHistory::renameArticle);
    connect(m_history, &PostHistory::writeFailed, this,
            [this](const QString& error) { showHint(tr("无法保存发布记录：%1").arg(error)); });
    connect(m_postRound, &PostRound::message, this, &TFrmMain::showHint);

    // The round follows the current article, the site list and the current site.
    connect(m_articles, &ArticleController::currentArticleChanged, m_postRound, &PostRound::refresh);
    QAbstractItemModel* siteList = sites.model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(siteList, signal, m_postRound, &PostRound::refresh);
    connect(siteList, &QAbstractItemModel::dataChanged, m_postRound, &PostRound::refresh);
    connect(siteList, &QAbstractItemModel::modelReset, m_postRound, &PostRound::refresh);
    connect(sites.selectionModel(), &QItemSelectionModel::currentChanged, m_postRound, &PostRound::currentSiteChanged);

    // The database travels with an export and an import, copied as a whole.
    DocumentTransfer::OwnedFiles owned;
    owned.owns = &HistoryDatabase::isDatabaseFile;
    owned.copy = [this](const QString& from, const QString& to, bool importing) {
        if (!importing)
            return m_historyDatabase->copyTo(to);
        bool replaced = false;
        const QString error = m_historyDatabase->replaceFrom(from, &replaced);
        if (replaced)
            m_history->reload();
        return error;
    };
    m_transfer->setOwnedFiles(std::move(owned));

    QToolButton* roundButton = addCornerButton("BtnPostRound", tr("发布进度"),
                                               tr("每个站点是否已发布当前文章（F7）；F8 转到下一个未发布的站点"));
    connect(roundButton, &QToolButton::clicked, m_postRound, &PostRound::showWindow);

    m_hotkeys->addCommandKey(QKeyCombination(Qt::Key_F7), [this] { m_postRound->showWindow(); });
    m_hotkeys->addCommandKey(QKeyCombination(Qt::Key_F8), [this] { m_postRound->nextSite(); });
}

void TFrmMain::noteArticlePaste(QWebEnginePage* page)
{
    if (page)
        m_postRecorder->articlePasted(PostRecorder::keyOf(page), m_sites->store().record().siteName,
                                      m_articles->currentArticleName());
}

void TFrmMain::reportHistoryProblem()
{
    if (!m_historyDatabase->problem().isEmpty())
        reportProblem(tr("发布记录不可用，本次发布不会被记录：%1").arg(m_historyDatabase->problem()));
}
