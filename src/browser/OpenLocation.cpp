#include "OpenLocation.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

LocationOpener& currentOpener()
{
    static LocationOpener opener;
    return opener;
}

bool namesExistingPath(const QString& location)
{
    if (location.isEmpty())
        return false;
    // Native separators are accepted where the platform has them (C:\dir on Windows).
    const QFileInfo info(QDir::fromNativeSeparators(location));
    return info.exists() && (info.isDir() || info.isFile());
}

}  // namespace

QUrl OpenLocationTarget(const QString& location)
{
    if (location.trimmed().isEmpty())
        return QUrl();  // "http://" alone opens nothing useful
    // Compared in lower case with "\" separators, so "HTTP://" and "http:\\" count alike.
    const QString test = location.toLower().replace(QLatin1Char('/'), QLatin1Char('\\'));

    // An absolute local path has no colon on this platform; it must not become "http:///...".
    if (QDir::isAbsolutePath(QDir::fromNativeSeparators(location)) && namesExistingPath(location))
        return QUrl::fromLocalFile(QDir::fromNativeSeparators(location));
    // Only a web address: "ftp:...?x=http:" must not slip through on an "http:" further on.
    if (test.startsWith(QLatin1String("http:")) || test.startsWith(QLatin1String("https:")))
        return QUrl(location, QUrl::TolerantMode);
    if (!test.contains(QLatin1Char(':'))) {
        if (QDir::isAbsolutePath(location))
            return QUrl();  // a local path that does not exist
        return QUrl(QStringLiteral("http://") + location, QUrl::TolerantMode);
    }
    if (namesExistingPath(location))
        return QUrl::fromLocalFile(QFileInfo(QDir::fromNativeSeparators(location)).absoluteFilePath());
    return QUrl();
}

bool OpenLocation(const QString& location)
{
    const QUrl target = OpenLocationTarget(location);
    if (!target.isValid() || target.isEmpty())
        return false;
    const LocationOpener& opener = currentOpener();
    return opener ? opener(target) : QDesktopServices::openUrl(target);
}

void SetLocationOpener(LocationOpener opener) { currentOpener() = std::move(opener); }

bool OpenExternalLink(const QUrl& link)
{
    const LocationOpener& opener = currentOpener();
    return opener ? opener(link) : QDesktopServices::openUrl(link);
}
