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
    settings.writeInteger(section(), QStringLiteral("SoftwareInd"), SoftwareInd);
    settings.writeInteger(section(), QStringLiteral("SiteInd"), SiteInd);
    settings.writeBool(section(), QStringLiteral("Edit"), Edit);
    settings.writeBool(section(), QStringLiteral("CbEditURL"), CbEditURL);
    settings.writeInteger(section(), QStringLiteral("EditPanelWidth"), EditPanelWidth);
    settings.writeInteger(section(), QStringLiteral("CurArticlePnlWidth"), CurArticlePnlWidth);
    return batch.commit();
}
