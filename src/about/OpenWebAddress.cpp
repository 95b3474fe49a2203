#include "OpenWebAddress.h"

#include <QDesktopServices>

namespace {

WebAddressOpener& currentOpener()
{
    static WebAddressOpener opener;
    return opener;
}

}  // namespace

QString webAddressFor(const QString& address)
{
    if (address.trimmed().isEmpty())
        return {};
    if (address.contains(QLatin1String("://")))
        return address;
    return QLatin1String("http://") + address;
}

bool OpenWebAddress(const QString& address)
{
    const QString full = webAddressFor(address);
    if (full.isEmpty())
        return false;
    const QUrl url(full.trimmed(), QUrl::TolerantMode);
    if (!url.isValid())
        return false;
    if (currentOpener())
        return currentOpener()(url);
    return QDesktopServices::openUrl(url);
}

void setWebAddressOpener(WebAddressOpener opener)
{
    currentOpener() = std::move(opener);
}
