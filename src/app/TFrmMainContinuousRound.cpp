// The continuous round's part of the main window: Shift+F8 and the round
// window's check box, every page watched from its start, and the round fed
// with the recorder's settled posts and the form fill's ends.
#include "TFrmMain.h"

#include "ArticleController.h"
#include "BrowserProfile.h"
#include "ContinuousRound.h"
#include "FormFill.h"
#include "HotkeyDispatcher.h"
#include "PostRecorder.h"
#include "PostRound.h"
#include "SiteController.h"
#include "SiteStore.h"
#include "TBrowserPage.h"
#include "TPageControl.h"
#include "TWebbrowser.h"

#include <QPointer>

void TFrmMain::wireContinuousRound()
{
    SiteStore& sites = m_sites->store();
    ContinuousRound::Hooks hooks;
    hooks.currentArticle = [this] { return m_articles->currentArticleName(); };
    hooks.currentSiteName = [&sites] { return sites.record().siteName; };
    // As the round counts posts: a teammate's post of the site counts too.
    hooks.currentSiteHasPost = [this, &sites] {
        const QString article = m_articles->currentArticleName();
        return !article.isEmpty() && m_postRound->postsOf(article).contains(sites.record().siteName);
    };
    hooks.addressOf = [&sites](int position) { return sites.addressToOpen(position); };
    hooks.selectSite = [this](int position) { m_sites->SelectSite(position); };
    hooks.hasLearntForm = [this, &sites](TWebbrowser* browser) {
        return !m_formMemory->formsOf(sites.record().siteName, FormMemory::pageOf(browser->url())).isEmpty();
    };
    hooks.fillShownPage = [this] {
        if (m_formFill->isRunning())
            return false;
        FillCurrentPage();
        return true;
    };
    hooks.say = [this](const QString& text) {
        showHint(text);
        m_postRound->showMessage(text);
    };
    hooks.fetchSharedForm = [this](TWebbrowser* browser) {
        fetchTeamForm(browser, [this, page = QPointer<QWebEnginePage>(browser->page())](bool found) {
            if (found && page)
                m_continuousRound->retryFill(page);
        });
    };
    m_continuousRound = new ContinuousRound(*m_postRound, *PageControl, std::move(hooks), this);

    for (int i = 0; i < PageControl->count(); ++i)
        m_continuousRound->watchPage(PageControl->browserAt(i)->page());
    connect(m_profile, &BrowserProfile::pageCreated, m_continuousRound,
            [this](TBrowserPage* page) { m_continuousRound->watchPage(page); });
    // Queued: the round opens and closes tabs, the recorder is still in the page's event.
    connect(m_postRecorder, &PostRecorder::postSettled, m_continuousRound, &ContinuousRound::postSettled,
            Qt::QueuedConnection);
    connect(m_articles, &ArticleController::currentArticleChanged, m_continuousRound,
            &ContinuousRound::currentArticleChanged);
    connect(m_formFill, &FormFill::finished, m_continuousRound, &ContinuousRound::fillFinished);
    m_hotkeys->addCommandKey(QKeyCombination(Qt::ShiftModifier, Qt::Key_F8), [this] { m_continuousRound->toggle(); });
}
