#include "CheckForUpdate.h"

#include "InterfaceTexts.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {

// Takes no cookie and gives none, not even one a redirect on the way sets.
class NoCookies : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl&) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

}  // namespace

QString updateQueryUrl(const QString& updateAddress, const QString& editionText, double version)
{
    const QString edition = QString::fromLatin1(QUrl::toPercentEncoding(editionText));
    return updateAddress + QLatin1String("?v=") + edition + QLatin1String("&n=") + QString::number(version, 'f', 1);
}

QObject* sendUpdateQuery(QObject* owner, const QString& updateAddress, const QString& editionText,
                         std::chrono::milliseconds limit)
{
    // The query's own manager: no cache, no shared connections, and the reply,
    // the jar and the timer go with it.
    auto* query = new QNetworkAccessManager(owner);
    query->setObjectName(QStringLiteral("UpdateQuery"));
    query->setCookieJar(new NoCookies(query));
    query->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    const QUrl url(updateQueryUrl(updateAddress, editionText, InterfaceTexts::versionNumber()));
    QNetworkReply* reply = query->get(QNetworkRequest(url));
    // Dropped as it comes: an endless answer cannot fill the memory.
    QObject::connect(reply, &QIODevice::readyRead, reply, [reply] { reply->skip(reply->bytesAvailable()); });
    QObject::connect(reply, &QNetworkReply::finished, query, &QObject::deleteLater);
    QTimer::singleShot(limit, query, &QObject::deleteLater);
    return query;
}

QObject* CheckForUpdate(QObject* owner, const QString& editionText)
{
    return sendUpdateQuery(owner, InterfaceTexts::updateAddress(), editionText);
}
