#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

#include "TWebbrowser.h"

#include <functional>

class PostRound;
class QWebEnginePage;
class TPageControl;

// The continuous round: once a post of the round's article to the current
// site has settled, the next site without a post opens in a tab of its own
// and its learnt form is filled, so the user only reads each form and presses
// the page's own button. Meanwhile the next site's page loads out of sight.
// Nothing here submits anything: pages are opened (GET) and filled, never
// sent.
//
// Off at every start. It stops when turned off, when another article is
// chosen, and when every site has the article. A page is filled once per
// load, only while it is shown, and never after the user typed into it.
class ContinuousRound : public QObject {
    Q_OBJECT
public:
    // Finished posts' tabs the round opened, kept for a look; older ones close.
    static constexpr int KeptFinishedTabs = 3;

    struct Hooks {
        std::function<QString()> currentArticle;  // empty for none
        std::function<QString()> currentSiteName;
        std::function<bool()> currentSiteHasPost;  // of the current article
        std::function<QString(int)> addressOf;  // what a site of the list opens, by position
        std::function<void(int)> selectSite;  // as a click in the site list: opens it in the shown tab
        std::function<bool(TWebbrowser*)> hasLearntForm;  // the current site's, at the browser's page
        std::function<bool()> fillShownPage;  // as F9; false while another fill runs
        std::function<void(const QString&)> say;  // the hint line
        // Optional: asks the team for the page's form; retryFill() once it has come.
        std::function<void(TWebbrowser*)> fetchSharedForm;
    };

    ContinuousRound(PostRound& round, TPageControl& tabs, Hooks hooks, QObject* parent = nullptr);
    ~ContinuousRound() override;

    bool isOn() const { return m_on; }
    // The page loaded out of sight for the next site, if any.
    TWebbrowser* preloaded() const { return m_preload; }

public slots:
    void setOn(bool on);
    void toggle() { setOn(!m_on); }
    // Every page the browser makes, from its start.
    void watchPage(QWebEnginePage* page);
    // The recorder settled a post in the page with this key (connect queued).
    void postSettled(quintptr pageKey, const QString& site, const QString& article, bool loaded);
    void currentArticleChanged();
    void roundComplete(const QString& article);
    // A fill of the shown page ended: the next site loads while the user reads it.
    void fillFinished();
    // The page's form has come from elsewhere (the team): fill it if it is still due.
    void retryFill(QWebEnginePage* page) { tryFill(page); }

private:
    struct PageLoad {
        QElapsedTimer started;  // the page's last load
        bool fillDue = false;  // finished loading while the round was on, not filled yet
        bool told = false;  // the user was told why it is not filled
        bool askedTeam = false;  // for the page's form
    };
    void stop(const QString& reason);
    void tryFill(QWebEnginePage* page);
    void fillWhenVisible(QWebEnginePage* page, int triesLeft);
    bool typedSinceLoad(QWebEnginePage* page) const;
    void moveOn(TWebbrowser* finished);
    void openSite(int position, TWebbrowser* finished);
    void keepFinished(TWebbrowser* finished);
    void preloadNext();
    void dropPreload();
    TWebbrowser* browserOfKey(quintptr pageKey) const;
    void say(const QString& text);

    PostRound& m_round;
    TPageControl& m_tabs;
    Hooks m_hooks;
    bool m_on = false;
    QString m_article;  // the round's
    QHash<QWebEnginePage*, PageLoad> m_loads;
    QList<QPointer<TWebbrowser>> m_opened;  // tabs the round opened
    QList<QPointer<TWebbrowser>> m_finished;  // of those, the ones whose post settled, oldest first
    QPointer<TWebbrowser> m_preload;
    int m_preloadPosition = -1;
    QString m_preloadAddress;
};
