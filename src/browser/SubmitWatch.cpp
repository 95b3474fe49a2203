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
        if (info.navigationType() == QWebEngineUrlRequestInfo::NavigationTypeFormSubmitted) {
            const bool inFrame = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeSubFrame;
            // Told after the request goes on its way, never inside it.
            QTimer::singleShot(0, this, [this, inFrame] { emit submitted(inFrame); });
        }
        return;
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
        // Counters and trackers of other sites post after clicks too.
        if (isSameSite(info.requestUrl().host(), info.firstPartyUrl().host()))
            QTimer::singleShot(0, this, &SubmitWatch::askForRecentClick);
        return;
    default: return;
    }
}

bool SubmitWatch::isSameSite(const QString& requestHost, const QString& pageHost)
{
    if (requestHost.compare(pageHost, Qt::CaseInsensitive) == 0)
        return true;
    auto parent = [](const QString& host) {
        const QStringList labels = host.toLower().split(QLatin1Char('.'));
        // "bbs.example.com.cn" -> "example.com.cn"; "example.com" keeps its name.
        return labels.size() > 2 ? labels.mid(1).join(QLatin1Char('.')) : labels.join(QLatin1Char('.'));
    };
    // "com.cn", "co.uk": a parent like these is shared by unrelated sites.
    auto isSharedSuffix = [](const QString& domain) {
        static const QStringList generic{QStringLiteral("com"), QStringLiteral("net"), QStringLiteral("org"),
                                         QStringLiteral("gov"), QStringLiteral("edu"), QStringLiteral("co"),
                                         QStringLiteral("ac")};
        const QStringList labels = domain.split(QLatin1Char('.'));
        return labels.size() < 2 || (labels.size() == 2 && generic.contains(labels.first()));
    };
    const QString request = requestHost.toLower(), page = pageHost.toLower();
    if (request.endsWith(QLatin1Char('.') + page) || page.endsWith(QLatin1Char('.') + request))
        return true;
    const QString shared = parent(request);
    return shared == parent(page) && !isSharedSuffix(shared);
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
