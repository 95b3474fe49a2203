#include "CheckForUpdate.h"

#include "InterfaceTexts.h"

#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

QString updateQueryUrl(const QString& updateAddress, const QString& editionText, double version)
{
    const QString edition = QString::fromLatin1(QUrl::toPercentEncoding(editionText));
    return updateAddress + QLatin1String("?v=") + edition + QLatin1String("&n=") + QString::number(version, 'f', 1);
}

void CheckForUpdate(QWebEngineView* browser, const QString& editionText)
{
    if (!browser)
        return;
    const QString query = updateQueryUrl(InterfaceTexts::updateAddress(), editionText, InterfaceTexts::versionNumber());
    browser->load(QUrl(query));
}

void CheckForUpdateThenRelease(QWebEngineView* browser, std::chrono::milliseconds limit)
{
    if (!browser)
        return;
    // Later, not inside the engine's own signal; the timer goes with the browser.
    QObject::connect(browser, &QWebEngineView::loadFinished, browser, &QObject::deleteLater);
    QTimer::singleShot(limit, browser, &QObject::deleteLater);
    CheckForUpdate(browser);
}
