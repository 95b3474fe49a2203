#pragma once

#include <QElapsedTimer>
#include <QWebEngineUrlRequestInterceptor>

class QWebEnginePage;
class QWebEngineProfile;

// Tells a page's posts: a form submitted with POST, or a script's POST (XHR,
// fetch) to the page's own site, as editors that post by script do; either
// only within ClickCountsMs of the user's own click or Enter in the page
// (UserPressWatch), so a page's script cannot post in the user's name. A
// script's post also needs the press on a button (or Enter in a field) of
// the main frame or a frame of its origin, as the page itself saw it (a
// trusted event). A form of a frame of another origin is not the page's.
// Searches and other GET forms are not posts.
class SubmitWatch : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    // A click on a button (or Enter) counts this long for a script's post.
    static constexpr int ClickCountsMs = 3000;

    explicit SubmitWatch(QWebEnginePage* page);

    // The script that notes the time of the user's last button click in every
    // frame, in a world of its own (the page's scripts never see it).
    static void installClickNote(QWebEngineProfile* profile);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // Whether a request to `requestHost` belongs to the site of `pageHost`:
    // the same registrable domain (see WebSite).
    static bool isSameSite(const QString& requestHost, const QString& pageHost);

signals:
    // `withoutLoad`: the main frame does not load for this post (a script's
    // post, or a form in a frame), so the page's address is taken as it is.
    void submitted(bool withoutLoad);

private:
    bool userPressedRecently() const;
    static bool isSameOrigin(const QUrl& a, const QUrl& b);
    void askForRecentClick();

    QWebEnginePage* m_page;
    QElapsedTimer m_asked;  // the last question, for a burst of requests
};
