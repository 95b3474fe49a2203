#include "WebSite.h"

#include <QHostAddress>
#include <QUrl>

#include <libpsl.h>

namespace {

// The system's list when it is installed, else the one built into libpsl.
const psl_ctx_t* suffixList()
{
    static const psl_ctx_t* const list = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    return list;
}

}  // namespace

namespace WebSite {

QString registrableDomain(const QString& host)
{
    QString lower = QUrl::toAce(host).isEmpty() ? host.toLower() : QString::fromLatin1(QUrl::toAce(host)).toLower();
    while (lower.endsWith(QLatin1Char('.')))
        lower.chop(1);
    if (lower.isEmpty() || !QHostAddress(lower).isNull())
        return lower;
    const QByteArray ace = lower.toLatin1();
    const char* domain = suffixList() ? psl_registrable_domain(suffixList(), ace.constData()) : nullptr;
    return domain ? QString::fromLatin1(domain) : lower;
}

QString of(const QUrl& address)
{
    const QString host = address.host(QUrl::FullyEncoded);
    if (host.isEmpty())
        return QString();
    return address.scheme().toLower() + QLatin1String("://") + registrableDomain(host);
}

bool same(const QUrl& a, const QUrl& b)
{
    const QString site = of(a);
    return !site.isEmpty() && site == of(b);
}

}  // namespace WebSite
