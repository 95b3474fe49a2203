#include "ContinuousRound.h"

#include "BrowserCaptions.h"
#include "PostRecorder.h"
#include "PostRound.h"
#include "TPageControl.h"
#include "TWebbrowser.h"
#include "UserPressWatch.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {
constexpr int kVisibleTries = 50;
constexpr int kVisibleRetryMs = 10;
}  // namespace

ContinuousRound::ContinuousRound(PostRound& round, TPageControl& tabs, Hooks hooks, QObject* parent)
    : QObject(parent), m_round(round), m_tabs(tabs), m_hooks(std::move(hooks))
{
    connect(&m_round, &PostRound::continuousToggled, this, &ContinuousRound::setOn);
    connect(&m_round, &PostRound::roundComplete, this, &ContinuousRound::roundComplete);
    // A tab shown later (the preloaded page, a tab the user comes back to) is filled then.
    connect(&m_tabs, &TPageControl::currentBrowserChanged, this, [this](TWebbrowser* browser) {
        if (browser)
            tryFill(browser->page());
    });
}

ContinuousRound::~ContinuousRound() = default;

void ContinuousRound::say(const QString& text) { m_hooks.say(tr("连续发布：%1").arg(text)); }

void ContinuousRound::setOn(bool on)
{
    if (on == m_on) {
        m_round.showContinuous(m_on);
        return;
    }
    if (!on) {
        stop(QString());
        return;
    }
    m_article = m_hooks.currentArticle();
    if (m_article.isEmpty()) {
        m_round.showContinuous(false);
        m_hooks.say(tr("没有当前文章：请先在文章列表中选择一篇文章"));
        return;
    }
    m_on = true;
    m_round.showContinuous(true);
    m_hooks.say(tr("连续发布已开始：发布后自动转到下一个未发布的站点并填表，只需检查后用网页上的按钮提交；"
                   "Shift+F8 停止"));
    TWebbrowser* shown = m_tabs.CurBrowser();
    if (m_hooks.currentSiteHasPost() || !shown) {
        moveOn(nullptr);
        return;
    }
    // The shown page is filled now, or when it has loaded.
    QWebEnginePage* page = shown->page();
    PageLoad& load = m_loads[page];
    load.fillDue = !page->isLoading();
    load.told = false;
    tryFill(page);
}

void ContinuousRound::stop(const QString& reason)
{
    const bool wasOn = m_on;
    m_on = false;
    m_round.showContinuous(false);
    dropPreload();
    for (PageLoad& load : m_loads)
        load.fillDue = false;
    if (wasOn)
        m_hooks.say(reason.isEmpty() ? tr("连续发布已停止") : tr("连续发布已停止：%1").arg(reason));
}

void ContinuousRound::currentArticleChanged()
{
    if (m_on && m_hooks.currentArticle() != m_article)
        stop(tr("已选择另一篇文章"));
}

void ContinuousRound::roundComplete(const QString& article)
{
    if (m_on)
        stop(tr("本轮已完成，“%1”已发布到全部站点").arg(article));
}

void ContinuousRound::watchPage(QWebEnginePage* page)
{
    connect(page, &QWebEnginePage::loadStarted, this, [this, page] {
        PageLoad& load = m_loads[page];
        load.started.start();
        load.fillDue = false;
        load.told = false;
        load.askedTeam = false;
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        if (!m_on || !ok)
            return;
        m_loads[page].fillDue = true;
        tryFill(page);
    });
    connect(page, &QObject::destroyed, this, [this, page] { m_loads.remove(page); });
}

bool ContinuousRound::typedSinceLoad(QWebEnginePage* page) const
{
    const qint64 typed = UserPressWatch::msSinceLastTyping(page);
    const QElapsedTimer started = m_loads.value(page).started;
    // A page whose load was never seen counts every key ever typed into it.
    return typed >= 0 && (!started.isValid() || typed <= started.elapsed());
}

void ContinuousRound::tryFill(QWebEnginePage* page)
{
    TWebbrowser* shown = m_tabs.CurBrowser();
    const auto load = m_loads.find(page);
    // Only the shown page, once per load, and never a preloaded one before it is shown.
    if (!m_on || !shown || shown->page() != page || !shown->isVisible() || load == m_loads.end() || !load->fillDue)
        return;
    if (m_hooks.currentSiteHasPost())
        return;  // the round moves on once the post has settled
    if (typedSinceLoad(page)) {
        load->fillDue = false;
        say(tr("本页已有您的输入，没有自动填表（F9 可填表）"));
        preloadNext();
        return;
    }
    if (!m_hooks.hasLearntForm(shown)) {
        // A login page, a page on the way: the user goes on, and a later load may have a form.
        if (!load->told)
            say(tr("本页还没有学过填表：请用热键填好并提交，发布后自动继续"));
        load->told = true;
        preloadNext();
        if (m_hooks.fetchSharedForm && !load->askedTeam) {
            load->askedTeam = true;
            m_hooks.fetchSharedForm(shown);
        }
        return;
    }
    load->fillDue = false;
    fillWhenVisible(page, kVisibleTries);
}

// A page loaded out of sight takes keys only once it knows it is shown: the
// engine tells it a moment after the tab is. Until then its first paste
// would be lost.
void ContinuousRound::fillWhenVisible(QWebEnginePage* page, int triesLeft)
{
    QPointer<QWebEnginePage> watched(page);
    page->runJavaScript(QStringLiteral("document.visibilityState === 'visible' && document.hasFocus()"),
                        QWebEngineScript::ApplicationWorld, [this, watched, triesLeft](const QVariant& shown) {
                            TWebbrowser* current = m_tabs.CurBrowser();
                            if (!m_on || !watched || !current || current->page() != watched)
                                return;
                            if (shown.toBool() || triesLeft <= 0) {
                                // A fill of another page still runs: this one follows it.
                                if (!m_hooks.fillShownPage())
                                    m_loads[watched].fillDue = true;
                                return;
                            }
                            current->setFocus();
                            QTimer::singleShot(kVisibleRetryMs, this, [this, watched, triesLeft] {
                                if (watched)
                                    fillWhenVisible(watched, triesLeft - 1);
                            });
                        });
}

void ContinuousRound::fillFinished()
{
    if (!m_on)
        return;
    preloadNext();
    if (TWebbrowser* shown = m_tabs.CurBrowser())
        tryFill(shown->page());  // a page that waited for the fill before
}

TWebbrowser* ContinuousRound::browserOfKey(quintptr pageKey) const
{
    for (int i = 0; i < m_tabs.count(); ++i)
        if (TWebbrowser* browser = m_tabs.browserAt(i); browser && PostRecorder::keyOf(browser->page()) == pageKey)
            return browser;
    return nullptr;
}

void ContinuousRound::postSettled(quintptr pageKey, const QString& site, const QString& article, bool loaded)
{
    if (!m_on || article != m_article || site != m_hooks.currentSiteName())
        return;
    TWebbrowser* finished = browserOfKey(pageKey);
    if (!loaded) {
        say(tr("发布后的网页没有打开，请检查是否已发布；按 F8 转到下一个站点"));
        return;
    }
    moveOn(finished);
}

void ContinuousRound::moveOn(TWebbrowser* finished)
{
    // A team's server answers later: the finished tab may be gone by then, and the round off.
    const bool moved = m_round.goToNextSite([this, finished = QPointer<TWebbrowser>(finished)](int position) {
        if (m_on)
            openSite(position, finished);
    });
    if (!moved && m_on)
        stop(QString());
}

void ContinuousRound::openSite(int position, TWebbrowser* finished)
{
    const QString address = m_hooks.addressOf(position);
    if (m_preload && position == m_preloadPosition && address == m_preloadAddress && !address.isEmpty()) {
        TWebbrowser* preloaded = m_preload;
        m_preload.clear();
        m_tabs.showPreloaded(preloaded, address);
    } else {
        dropPreload();
        m_tabs.CreateTabBrowser(QString(), NewBrowserCaption());
    }
    TWebbrowser* opened = m_tabs.CurBrowser();
    m_opened << opened;
    if (opened) {
        // The site's page: loaded out of sight already, or about to load here.
        PageLoad& load = m_loads[opened->page()];
        load.fillDue = !opened->page()->isLoading() && !opened->url().isEmpty();
        load.told = false;
        if (!load.started.isValid())
            load.started.start();
    }
    // Opens the site's address in the new tab; a preloaded page is not loaded again.
    m_hooks.selectSite(position);
    if (finished)
        keepFinished(finished);
    if (opened)
        tryFill(opened->page());
}

void ContinuousRound::keepFinished(TWebbrowser* finished)
{
    if (!m_opened.contains(finished) || m_finished.contains(finished))
        return;
    m_finished << finished;
    while (m_finished.size() > KeptFinishedTabs) {
        const QPointer<TWebbrowser> oldest = m_finished.takeFirst();
        m_opened.removeAll(oldest);
        if (oldest && oldest != m_tabs.CurBrowser())
            m_tabs.closeBrowser(oldest);
    }
    m_opened.removeAll(nullptr);
}

void ContinuousRound::preloadNext()
{
    const int next = m_round.peekNextSite();
    const QString address = next >= 0 ? m_hooks.addressOf(next) : QString();
    if (address.isEmpty()) {
        dropPreload();
        return;
    }
    if (m_preload && next == m_preloadPosition && address == m_preloadAddress)
        return;
    dropPreload();
    m_preload = m_tabs.preload(address);
    m_preloadPosition = next;
    m_preloadAddress = address;
}

void ContinuousRound::dropPreload()
{
    if (m_preload)
        m_tabs.closeBrowser(m_preload);
    m_preload.clear();
    m_preloadPosition = -1;
    m_preloadAddress.clear();
}
