#include "HelpFallback.h"

#include "InterfaceLanguage.h"
#include "Pictures.h"

#include <QFile>
#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

const char* const WatchName = "qvbHelpFallbackWatch";
constexpr int NetErrorAborted = -3;  // Chromium's ERR_ABORTED: replaced or stopped

// Watches the one load of the online help address in a view; one per view,
// re-armed by each call of showHelpWithFallback.
class HelpLoadWatch : public QObject {
    Q_OBJECT
public:
    explicit HelpLoadWatch(QWebEngineView* view) : QObject(view), m_view(view)
    {
        setObjectName(QLatin1String(WatchName));
    }

    void watch(const QUrl& online)
    {
        disarm();
        // The view's page may have been replaced since the last call.
        if (m_page != m_view->page()) {
            if (m_page)
                disconnect(m_page, nullptr, this, nullptr);
            m_page = m_view->page();
            connect(m_page, &QWebEnginePage::loadingChanged, this, &HelpLoadWatch::loadingChanged);
        }
        m_online = online;
        m_armed = true;
        m_started = false;
        // No browser error page while the help address loads: a failure goes
        // straight to the shipped page instead of flashing the error first.
        m_errorPagesWereOn = m_page->settings()->testAttribute(QWebEngineSettings::ErrorPageEnabled);
        m_page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    }

private:
    void disarm()
    {
        if (m_armed && m_page)
            m_page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, m_errorPagesWereOn);
        m_armed = false;
    }

    void loadingChanged(const QWebEngineLoadingInfo& info)
    {
        if (!m_armed)
            return;
        // Events of a load the help request replaced carry that load's address.
        const bool ours = sameAddress(info.url(), m_online);
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            if (ours)
                m_started = true;
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            if (m_started && ours)
                disarm();
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            if (!m_started && !ours)
                return;
            disarm();
            if (isHttpError(info))
                showOffline();
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            // A navigation refused before it starts (a blocked port, say) reports
            // only its failure.
            if (!m_started && !ours)
                return;
            if (info.errorCode() == NetErrorAborted
                && info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain) {
                if (ours)
                    disarm();  // the user stopped it or went elsewhere
                return;
            }
            disarm();
            showOffline();
            return;
        }
    }

    static bool sameAddress(const QUrl& a, const QUrl& b)
    {
        const auto form = QUrl::StripTrailingSlash | QUrl::NormalizePathSegments;
        return a.adjusted(form) == b.adjusted(form);
    }

    static bool isHttpError(const QWebEngineLoadingInfo& info)
    {
        return info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain && info.errorCode() >= 400;
    }

    void showOffline() { m_view->load(offlineHelpUrl()); }

    QWebEngineView* m_view;
    QPointer<QWebEnginePage> m_page;
    QUrl m_online;
    bool m_armed = false;
    bool m_started = false;
    bool m_errorPagesWereOn = true;
};

}  // namespace

QUrl offlineHelpUrl()
{
    Pictures::initResources();  // the page lives in the resources of qvb_resources
    // The page in the interface's language where there is one (index_en.html).
    const QString translated =
        QStringLiteral("/help/index_%1.html").arg(InterfaceLanguages::fileSuffix(InterfaceLanguages::current()));
    if (QFile::exists(QLatin1Char(':') + translated))
        return QUrl(QStringLiteral("qrc:") + translated);
    return QUrl(QStringLiteral("qrc:/help/index.html"));
}

void showHelpWithFallback(QWebEngineView* view, const QString& onlineAddress)
{
    if (!view)
        return;
    const QUrl online = QUrl::fromUserInput(onlineAddress.trimmed());
    if (onlineAddress.trimmed().isEmpty() || !online.isValid()) {
        view->load(offlineHelpUrl());
        return;
    }
    auto* watch = view->findChild<HelpLoadWatch*>(QLatin1String(WatchName), Qt::FindDirectChildrenOnly);
    if (!watch)
        watch = new HelpLoadWatch(view);
    watch->watch(online);
    view->load(online);
}

#include "HelpFallback.moc"
