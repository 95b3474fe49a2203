#include "GeneralKeys.h"

#include "SettingsFile.h"

#include <climits>

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
    // A key that holds the value already, perhaps spelt otherwise ("0x10" for
    // 16, "2" for true), stays as it is: an exit that changed nothing leaves
    // the file alone, and on a full disk has nothing to fail. A missing key or
    // one that is no number reads as the other value asked for, and is written.
    const auto putNumber = [&settings](const char* key, int value) {
        const int other = value == INT_MAX ? value - 1 : value + 1;
        if (settings.readInteger(section(), QLatin1String(key), other) != value)
            settings.writeInteger(section(), QLatin1String(key), value);
    };
    const auto putFlag = [&settings](const char* key, bool value) {
        if (settings.readBool(section(), QLatin1String(key), !value) != value)
            settings.writeBool(section(), QLatin1String(key), value);
    };
    putNumber("SoftwareInd", SoftwareInd);
    putNumber("SiteInd", SiteInd);
    putFlag("Edit", Edit);
    putFlag("CbEditURL", CbEditURL);
    putNumber("EditPanelWidth", EditPanelWidth);
    putNumber("CurArticlePnlWidth", CurArticlePnlWidth);
    return batch.commit();
}
