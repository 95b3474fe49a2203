#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>

class PostHistory;

// When a submitted form is a post, per browser page:
// - an article text (a clause, a paragraph or the article's identifier) was
//   pasted into the page since it last loaded: the submit records a post of
//   that article to the site that was current at the paste;
// - the page that a recorded submit led to (the site refused it and showed the
//   form again, say) submits once more: the same post is updated, no second
//   one is added; so is a new submit after a new paste of the same article to
//   the same site in the same page.
// The post's address is the page's address once the load that followed the
// submit finished (redirects followed). A script's post has no load of its
// own: its address is the page's, or that of the page the script opens or
// moves to (by the history API, without a load) within ScriptFollowUpMs.
// Whether a submit was the user's own is the browser's to tell (see
// SubmitWatch): only those reach formSubmitted().
//
// Each page is in two states, one for its pastes and one for its last post:
//
//   Paste:  NoPaste --articlePasted--> Pasted --loadStarted--> PastedBeforeLoad
//           PastedBeforeLoad --loadFinished / formSubmitted--> NoPaste
//           (a form's submit is told after the load it starts has begun, so
//           a paste before that load still counts for it)
//   Post:   NoPost --formSubmitted (pasted)--> AwaitingLoad or AwaitingScriptPage
//           AwaitingLoad --loadFinished--> Posted (the address of that load)
//           AwaitingScriptPage --loadFinished or urlChanged within
//           ScriptFollowUpMs--> Posted; later, or another article or site
//           pasted, it is Posted as it stands
//           Posted --formSubmitted from the page it led to, or after a paste
//           of the same article and site--> Awaiting* again (the same post)
//           any --articlePasted of another article or site--> NoPost
// A QObject, so that connections made for a page end with whichever of the
// two goes first.
class PostRecorder : public QObject {
    Q_OBJECT
public:
    using PageKey = quintptr;
    // A page is known by its address, never used as one here.
    static PageKey keyOf(const QObject* page) { return reinterpret_cast<PageKey>(page); }
    // Waited for a page a script opens after its post.
    static constexpr qint64 ScriptFollowUpMs = 5000;

    enum class PasteState {
        NoPaste,
        Pasted,
        PastedBeforeLoad
    };
    enum class PostState {
        NoPost,
        AwaitingLoad,
        AwaitingScriptPage,
        Posted
    };

    explicit PostRecorder(PostHistory& history, QObject* parent = nullptr);

    void articlePasted(PageKey page, const QString& site, const QString& article);
    void loadStarted(PageKey page);
    // A POST form submit, or a script's POST right after a click on a button;
    // `withoutLoad` when the main frame does not load for it (a script's post,
    // a form in a frame).
    void formSubmitted(PageKey page, const QUrl& pageUrl, bool withoutLoad);
    void loadFinished(PageKey page, const QUrl& url, bool ok);
    // The page's address changed without a load (the history API).
    void urlChanged(PageKey page, const QUrl& url);
    void pageClosed(PageKey page);

    PasteState pasteState(PageKey page) const { return m_pages.value(page).paste; }
    PostState postState(PageKey page) const { return m_pages.value(page).post; }

signals:
    // A post of `article` to `site` is Posted: the page it led to has loaded
    // (`loaded` false: that load failed), or a script's post settled. Told
    // from inside the page's events: a receiver that opens or closes pages
    // connects queued.
    void postSettled(PageKey page, const QString& site, const QString& article, bool loaded);

private:
    struct PageState {
        PasteState paste = PasteState::NoPaste;
        QString pastedSite;
        QString pastedArticle;
        PostState post = PostState::NoPost;
        qint64 postId = 0;
        QString postSite;
        QString postArticle;
        int loadsSincePost = 0;  // loads started in the page since the submit
        QElapsedTimer submitted;
    };
    void settleExpiredScriptPost(PageKey page, PageState& state);
    void takeAddress(PageKey page, PageState& state, const QUrl& url);
    void settle(PageKey page, PageState& state, bool loaded);

    PostHistory& m_history;
    QHash<PageKey, PageState> m_pages;
};
