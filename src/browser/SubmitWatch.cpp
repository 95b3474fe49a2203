#include "SubmitWatch.h"

#include "UserPressWatch.h"
#include "WebSite.h"

#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

const char ClickNoteScript[] = R"JS(
(function () {
  if (window.__qvbClickNote) return;
  window.__qvbClickNote = true;
  function note() {
    var now = Date.now();
    window.__qvbLastPress = now;
    try { window.top.__qvbLastPress = now; } catch (e) {}
  }
  var buttons = 'button, input[type=submit], input[type=button], input[type=image], a, [role=button], [onclick]';
  // Only the user's own presses: a page's click() or dispatchEvent() is not trusted.
  document.addEventListener('click', function (event) {
    if (!event.isTrusted) return;
    var target = event.target;
    if (target && target.closest && target.closest(buttons)) note();
  }, true);
  document.addEventListener('keydown', function (event) {
    if (!event.isTrusted || event.key !== 'Enter') return;
    var target = event.target;
    var field = target && target.tagName === 'INPUT';
    if (field || event.ctrlKey || event.metaKey) note();
  }, true);
})();
)JS";

const char RecentClickQuery[] = "(function () { var t = window.__qvbLastPress; return t ? Date.now() - t : -1; })()";

}  // namespace

SubmitWatch::SubmitWatch(QWebEnginePage* page) : QWebEngineUrlRequestInterceptor(page), m_page(page)
{
    UserPressWatch::install();
}

void SubmitWatch::installClickNote(QWebEngineProfile* profile)
{
    QWebEngineScript script;
    script.setName(QStringLiteral("qvb-click-note"));
    script.setSourceCode(QString::fromLatin1(ClickNoteScript));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    profile->scripts()->insert(script);
}

void SubmitWatch::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (info.requestMethod() != "POST")
        return;
    const QUrl initiator = info.initiator();
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
        if (info.navigationType() == QWebEngineUrlRequestInfo::NavigationTypeFormSubmitted) {
            const bool inFrame = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeSubFrame;
            // Told after the request goes on its way, never inside it.
            QTimer::singleShot(0, this, [this, inFrame, initiator] {
                // A form in a frame of another origin (an advertisement) posts for itself.
                if (inFrame && !isSameOrigin(initiator, m_page->url()))
                    return;
                if (userPressedRecently())
                    emit submitted(inFrame);
            });
        }
        return;
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
        // Counters and trackers of other sites post after clicks too.
        if (isSameSite(info.requestUrl().host(), info.firstPartyUrl().host()))
            QTimer::singleShot(0, this, [this] {
                if (userPressedRecently())
                    askForRecentClick();
            });
        return;
    default: return;
    }
}

bool SubmitWatch::userPressedRecently() const
{
    const qint64 ms = UserPressWatch::msSinceLastPress(m_page);
    return ms >= 0 && ms <= ClickCountsMs;
}

bool SubmitWatch::isSameOrigin(const QUrl& a, const QUrl& b)
{
    return a.isValid() && a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0
        && a.port(a.scheme() == QLatin1String("https") ? 443 : 80)
        == b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

bool SubmitWatch::isSameSite(const QString& requestHost, const QString& pageHost)
{
    return WebSite::registrableDomain(requestHost) == WebSite::registrableDomain(pageHost);
}

void SubmitWatch::askForRecentClick()
{
    // One question for a burst of requests; an answer that never comes (the
    // page went away meanwhile) holds up no later one for long.
    if (m_asked.isValid() && m_asked.elapsed() < 500)
        return;
    m_asked.start();
    m_page->runJavaScript(QString::fromLatin1(RecentClickQuery), QWebEngineScript::ApplicationWorld,
                          [watch = QPointer<SubmitWatch>(this)](const QVariant& age) {
                              if (!watch)
                                  return;
                              const double ms = age.toDouble();
                              if (ms >= 0 && ms <= ClickCountsMs)
                                  emit watch->submitted(true);
                          });
}
