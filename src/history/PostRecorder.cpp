#include "PostRecorder.h"

#include "PostHistory.h"

PostRecorder::PostRecorder(PostHistory& history, QObject* parent) : QObject(parent), m_history(history)
{
    // An imported history has other rows: a later submit makes a new post.
    connect(&m_history, &PostHistory::replaced, this, [this] {
        for (PageState& state : m_pages)
            state.hasLast = false;
    });
}

void PostRecorder::articlePasted(PageKey page, const QString& site, const QString& article)
{
    // Without a current site or article there is nothing to record a post of.
    if (site.isEmpty() || article.isEmpty())
        return;
    PageState& state = m_pages[page];
    state.paste = {site, article};
    state.pasted = true;
    // Another article or site: the page is on to a new post.
    if (state.hasLast && (state.last.site != site || state.last.article != article))
        state.hasLast = false;
}

void PostRecorder::loadStarted(PageKey page)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    found->pastedBeforeLoad = found->pasted;
    found->pasted = false;
    if (!found->hasLast)
        return;
    LastPost& last = found->last;
    ++last.loadsSince;
    if (last.withoutLoad && last.submitted.elapsed() > ScriptFollowUpMs)
        last.awaitingAddress = false;
}

void PostRecorder::formSubmitted(PageKey page, const QUrl& pageUrl, bool withoutLoad)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    PageState& state = *found;
    const bool pasted = state.pasted || state.pastedBeforeLoad;
    state.pastedBeforeLoad = false;
    // A form's submit is told once its own load has started, so the page the
    // last post led to counts one load since it (a script's post has none).
    const bool samePost = state.hasLast && (pasted || state.last.loadsSince <= 1);
    const QString address = pageUrl.toString();
    if (samePost) {
        m_history.updatePost(state.last.id, address, true);
    } else if (pasted) {
        state.last = LastPost{};
        state.last.id = m_history.recordPost(state.paste.site, state.paste.article, address, address);
        state.last.site = state.paste.site;
        state.last.article = state.paste.article;
        state.hasLast = true;
    } else {
        return;
    }
    state.last.loadsSince = 0;
    state.last.awaitingAddress = true;
    state.last.withoutLoad = withoutLoad;
    state.last.submitted.start();
}

void PostRecorder::loadFinished(PageKey page, const QUrl& url, bool ok)
{
    auto found = m_pages.find(page);
    if (found == m_pages.end())
        return;
    found->pastedBeforeLoad = false;
    if (!found->hasLast || !found->last.awaitingAddress)
        return;
    found->last.awaitingAddress = false;
    if (ok && url.isValid())
        m_history.updatePost(found->last.id, url.toString(), false);
}

void PostRecorder::pageClosed(PageKey page) { m_pages.remove(page); }
