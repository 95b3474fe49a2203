#include "PostRecorder.h"

#include "PostHistory.h"

#include <QTimer>

PostRecorder::PostRecorder(PostHistory& history, QObject* parent) : QObject(parent), m_history(history)
{
    // An imported history has other rows: a later submit makes a new post.
    connect(&m_history, &PostHistory::replaced, this, [this] {
        for (PageState& state : m_pages)
            state.post = PostState::NoPost;
    });
}

void PostRecorder::articlePasted(PageKey page, const QString& site, const QString& article)
{
    // Without a current site or article there is nothing to record a post of.
    if (site.isEmpty() || article.isEmpty())
        return;
    PageState& state = m_pages[page];
    state.paste = PasteState::Pasted;
    state.pastedSite = site;
    state.pastedArticle = article;
    // Another article or site: the page is on to a new post.
    if (state.post != PostState::NoPost && (state.postSite != site || state.postArticle != article))
        state.post = PostState::NoPost;
}

void PostRecorder::loadStarted(PageKey page)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    PageState& state = *found;
    state.paste = state.paste == PasteState::Pasted ? PasteState::PastedBeforeLoad : PasteState::NoPaste;
    if (state.post == PostState::NoPost)
        return;
    ++state.loadsSincePost;
    settleExpiredScriptPost(page, state);
}

void PostRecorder::formSubmitted(PageKey page, const QUrl& pageUrl, bool withoutLoad)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    PageState& state = *found;
    const bool pasted = state.paste != PasteState::NoPaste;
    if (state.paste == PasteState::PastedBeforeLoad)
        state.paste = PasteState::NoPaste;
    // A form's submit is told once its own load has started, so the page the
    // last post led to counts one load since it (a script's post has none).
    const bool samePost = state.post != PostState::NoPost && (pasted || state.loadsSincePost <= 1);
    const QString address = pageUrl.toString();
    if (samePost) {
        m_history.updatePost(state.postId, address, true);
    } else if (pasted) {
        state.postId = m_history.recordPost(state.pastedSite, state.pastedArticle, address, address);
        state.postSite = state.pastedSite;
        state.postArticle = state.pastedArticle;
    } else {
        return;
    }
    state.post = withoutLoad ? PostState::AwaitingScriptPage : PostState::AwaitingLoad;
    state.loadsSincePost = 0;
    state.submitted.start();
    // A script's post that neither loads nor moves the page settles by itself.
    if (withoutLoad)
        QTimer::singleShot(ScriptFollowUpMs + 50, Qt::PreciseTimer, this, [this, page] {
            const auto found = m_pages.find(page);
            if (found != m_pages.end())
                settleExpiredScriptPost(page, *found);
        });
}

void PostRecorder::loadFinished(PageKey page, const QUrl& url, bool ok)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    PageState& state = *found;
    if (state.paste == PasteState::PastedBeforeLoad)
        state.paste = PasteState::NoPaste;
    settleExpiredScriptPost(page, state);
    if (state.post != PostState::AwaitingLoad && state.post != PostState::AwaitingScriptPage)
        return;
    if (ok)
        takeAddress(page, state, url);
    else
        settle(page, state, false);
}

void PostRecorder::urlChanged(PageKey page, const QUrl& url)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    PageState& state = *found;
    settleExpiredScriptPost(page, state);
    // A load's own address change is told by loadFinished; a script's post has
    // none, and an editor then shows the new post by the history API.
    if (state.post == PostState::AwaitingScriptPage)
        takeAddress(page, state, url);
}

void PostRecorder::pageClosed(PageKey page) { m_pages.remove(page); }

void PostRecorder::settleExpiredScriptPost(PageKey page, PageState& state)
{
    if (state.post == PostState::AwaitingScriptPage && state.submitted.elapsed() > ScriptFollowUpMs)
        settle(page, state, true);
}

void PostRecorder::takeAddress(PageKey page, PageState& state, const QUrl& url)
{
    if (url.isValid() && !url.isEmpty())
        m_history.updatePost(state.postId, url.toString(), false);
    settle(page, state, true);
}

void PostRecorder::settle(PageKey page, PageState& state, bool loaded)
{
    state.post = PostState::Posted;
    // Last: whoever follows may close the page, and this state with it.
    emit postSettled(page, state.postSite, state.postArticle, loaded);
}
