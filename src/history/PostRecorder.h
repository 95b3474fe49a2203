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
// own: its address is the page's, or that of a page the script opens within
// a few seconds.
// A QObject, so that connections made for a page end with whichever of the
// two goes first.
class PostRecorder : public QObject {
    Q_OBJECT
public:
    using PageKey = quintptr;

    explicit PostRecorder(PostHistory& history, QObject* parent = nullptr);

    void articlePasted(PageKey page, const QString& site, const QString& article);
    void loadStarted(PageKey page);
    // Waited for a page a script opens after its post.
    static constexpr qint64 ScriptFollowUpMs = 5000;

    // A POST form submit, or a script's POST right after a click on a button;
    // `withoutLoad` when the main frame does not load for it (a script's post,
    // a form in a frame).
    void formSubmitted(PageKey page, const QUrl& pageUrl, bool withoutLoad);
    void loadFinished(PageKey page, const QUrl& url, bool ok);
    void pageClosed(PageKey page);

private:
    struct Paste {
        QString site;
        QString article;
    };
    struct LastPost {
        qint64 id = 0;
        QString site;
        QString article;
        int loadsSince = 0;  // loads started in the page since the submit
        bool awaitingAddress = false;
        bool withoutLoad = false;
        QElapsedTimer submitted;
    };
    struct PageState {
        Paste paste;
        bool pasted = false;  // since the page's last load started
        // A paste before the load that is starting: a form's submit is told
        // after the load it starts, and the paste still counts for it.
        bool pastedBeforeLoad = false;
        LastPost last;
        bool hasLast = false;
    };

    PostHistory& m_history;
    QHash<PageKey, PageState> m_pages;
};
