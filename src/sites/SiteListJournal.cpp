#include "SiteListJournal.h"

#include "SiteSection.h"

#include <QCryptographicHash>

namespace SiteListJournal {

namespace {

QString countKey() { return QStringLiteral("Count"); }
QString beforeKey() { return QStringLiteral("Before"); }   // the list file the change started from
QString sitesKey() { return QStringLiteral("Sites"); }     // the site sections as written with the copy
QString nameKey(int position) { return QStringLiteral("Name%1").arg(position); }

QString digest(const QStringList& parts)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(parts.size()));
    for (const QString& part : parts) {
        hash.addData(QByteArrayView("\n"));
        hash.addData(part.toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString sitesDigest(SettingsFile& settings, int count)
{
    QStringList parts;
    for (int p = 0; p < count; ++p) {
        const SiteSection::Values values = SiteSection::read(settings, p);
        parts << values.url << values.user << values.password;
    }
    return digest(parts);
}

}  // namespace

QString sectionName() { return QStringLiteral("SDUrl.txt"); }

bool write(SettingsFile& settings, const QStringList& names, const QStringList& namesOnDisk)
{
    const QString section = sectionName();
    bool ok = settings.writeInteger(section, countKey(), int(names.size()));
    for (int p = 0; ok && p < names.size(); ++p)
        ok = settings.writeString(section, nameKey(p), names.at(p));
    return ok && settings.writeString(section, beforeKey(), digest(namesOnDisk))
           && settings.writeString(section, sitesKey(), sitesDigest(settings, int(names.size())));
}

std::optional<QStringList> recover(SettingsFile& settings, const QStringList& namesOnDisk)
{
    const QString section = sectionName();
    const int count = settings.readInteger(section, countKey(), -1);
    if (count < 0)
        return std::nullopt;
    QStringList names;
    for (int p = 0; p < count; ++p) {
        if (!settings.hasKey(section, nameKey(p)))
            return std::nullopt;
        names << settings.readString(section, nameKey(p));
    }
    if (names == namesOnDisk)
        return std::nullopt;
    // Only an interrupted change of ours leaves the old list beside untouched
    // sections; anything else means another program wrote the files since.
    if (settings.readString(section, beforeKey()) != digest(namesOnDisk)
        || settings.readString(section, sitesKey()) != sitesDigest(settings, count))
        return std::nullopt;
    return names;
}

}  // namespace SiteListJournal
