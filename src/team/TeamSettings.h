#pragma once

#include <QCoreApplication>
#include <QString>

// The team's server, from team.ini in the data folder (UTF-8, section
// [team]: conninfo, member). Without the file, or with an empty conninfo,
// the posting history stays on this computer alone.
//
// conninfo is a libpq connection string ("host=... dbname=...") or a
// postgresql:// address. A password never goes into the file: libpq takes it
// from ~/.pgpass or PGPASSFILE. One given in conninfo is taken out before
// saving, and one found in the file is not used; both say so in `notice`.
struct TeamSettings {
    Q_DECLARE_TR_FUNCTIONS(TeamSettings)

public:
    static constexpr int DefaultConnectTimeoutSeconds = 5;

    QString conninfo;  // as stored, without a password
    QString member;
    QString problem;  // why the file's settings cannot be used
    QString notice;  // said to the user, but the settings are used

    static QString fileName() { return QStringLiteral("team.ini"); }

    bool isConfigured() const { return !conninfo.isEmpty() && problem.isEmpty(); }

    static TeamSettings load(const QString& dataFolder);
    // Saves, or with an empty conninfo removes the team. Empty, or why it
    // could not be saved (nothing is written then); `notice` tells of a
    // password taken out.
    static QString save(const QString& dataFolder, const QString& conninfo, const QString& member, QString* notice);

    // Checks a connection string: empty, or why libpq cannot read it. `clean`
    // gets it without a password (as written when it had none).
    static QString check(const QString& conninfo, QString* clean, bool* hadPassword);
    // The options the Qt driver gets: each key=value of the string, quoted,
    // and a connect_timeout and application_name where it has none.
    static QString driverOptions(const QString& conninfo);
};
