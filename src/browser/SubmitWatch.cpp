#include "SubmitWatch.h"

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
  document.addEventListener('click', function (event) {
    var target = event.target;
    if (target && target.closest && target.closest(buttons)) note();
  }, true);
  document.addEventListener('keydown', function (event) {
    if (event.key !== 'Enter') return;
    var target = event.target;
    var field = target && target.tagName === 'INPUT';
    if (field || event.ctrlKey || event.metaKey) note();
  }, true);
})();
)JS";

const char RecentClickQuery[] = "(function () { var t = window.__qvbLastPress; return t ? Date.now() - t : -1; })()";

}  // namespace

SubmitWatch::SubmitWatch(QWebEnginePage* page) : QWebEngineUrlRequestInterceptor(page), m_page(page) {}

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
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
        if (info.navigationType() == QWebEngineUrlRequestInfo::NavigationTypeFormSubmitted)
            // Told after the request goes on its way, never inside it.
            QTimer::singleShot(0, this, [this] { emit submitted(false); });
        return;
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
        QTimer::singleShot(0, this, &SubmitWatch::askForRecentClick);
        return;
    default: return;
    }
}

void SubmitWatch::askForRecentClick()
{
    // One question for a burst of requests; the answer counts them once.
    if (m_asking)
        return;
    m_asking = true;
    m_page->runJavaScript(QString::fromLatin1(RecentClickQuery), QWebEngineScript::ApplicationWorld,
                          [watch = QPointer<SubmitWatch>(this)](const QVariant& age) {
                              if (!watch)
                                  return;
                              watch->m_asking = false;
                              const double ms = age.toDouble();
                              if (ms >= 0 && ms <= ClickCountsMs)
                                  emit watch->submitted(true);
                          });
}
