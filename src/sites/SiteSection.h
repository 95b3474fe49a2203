#pragma once

#include "SettingsFile.h"

#include <QString>

// The data of the site at position p lives in the settings file section named
// p (decimal, no leading zeros), under the keys below. Nothing but the
// position links a section to its name in SDUrl.txt.
namespace SiteSection {

inline QString urlKey() { return QStringLiteral("url"); }
inline QString userKey() { return QStringLiteral("User"); }
inline QString passwordKey() { return QStringLiteral("Password"); }
inline QString name(int position) { return QString::number(position); }

struct Values {
    QString url;
    QString user;
    QString password;
};

inline Values read(SettingsFile& settings, int position)
{
    const QString section = name(position);
    return {settings.readString(section, urlKey()), settings.readString(section, userKey()),
            settings.readString(section, passwordKey())};
}

// In the order the Windows original writes them: url, User, Password.
inline bool write(SettingsFile& settings, int position, const Values& values)
{
    const QString section = name(position);
    return settings.writeString(section, urlKey(), values.url) && settings.writeString(section, userKey(), values.user)
        && settings.writeString(section, passwordKey(), values.password);
}

// Only these keys: the section of a site named by a number also holds that
// site's identifiers.
inline bool remove(SettingsFile& settings, int position)
{
    const QString section = name(position);
    return settings.removeKey(section, urlKey()) && settings.removeKey(section, userKey())
        && settings.removeKey(section, passwordKey());
}

}  // namespace SiteSection
