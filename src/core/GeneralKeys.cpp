#include "GeneralKeys.h"

#include "SettingsFile.h"

namespace {
QString section() { return QStringLiteral("defualt"); }
}  // namespace

GeneralKeys GeneralKeys::read(SettingsFile& settings)
{
    const GeneralKeys defaults;
    GeneralKeys keys;
    keys.SoftwareInd = settings.readInteger(section(), QStringLiteral("SoftwareInd"), defaults.SoftwareInd);
    keys.SiteInd = settings.readInteger(section(), QStringLiteral("SiteInd"), defaults.SiteInd);
    keys.EditPanelWidth = settings.readInteger(section(), QStringLiteral("EditPanelWidth"), defaults.EditPanelWidth);
    keys.CurArticlePnlWidth =
        settings.readInteger(section(), QStringLiteral("CurArticlePnlWidth"), defaults.CurArticlePnlWidth);
    keys.CbEditURL = settings.readBool(section(), QStringLiteral("CbEditURL"), defaults.CbEditURL);
    keys.Edit = settings.readBool(section(), QStringLiteral("Edit"), defaults.Edit);
    return keys;
}

bool GeneralKeys::write(SettingsFile& settings) const
{
    SettingsFile::Batch batch(settings);
    const GeneralKeys stored = read(settings);
    // A key that reads as the value already ("0x10" for 16, "2" for true)
    // stays as it is: an exit that changed nothing leaves the file alone,
    // and on a full disk has nothing to fail.
    const auto put = [&settings](const char* key, int value, int storedValue) {
        const QString name = QLatin1String(key);
        if (value != storedValue || !settings.hasKey(section(), name))
            settings.writeInteger(section(), name, value);
    };
    put("SoftwareInd", SoftwareInd, stored.SoftwareInd);
    put("SiteInd", SiteInd, stored.SiteInd);
    put("Edit", Edit ? 1 : 0, stored.Edit ? 1 : 0);
    put("CbEditURL", CbEditURL ? 1 : 0, stored.CbEditURL ? 1 : 0);
    put("EditPanelWidth", EditPanelWidth, stored.EditPanelWidth);
    put("CurArticlePnlWidth", CurArticlePnlWidth, stored.CurArticlePnlWidth);
    return batch.commit();
}
