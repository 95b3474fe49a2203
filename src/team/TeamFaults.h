#pragma once

#include <QCoreApplication>
#include <QString>

class QSqlError;

// libpq's reason for a failed connection, as a short sentence the user can
// act on, followed by the server's own words.
class TeamFaults {
    Q_DECLARE_TR_FUNCTIONS(TeamFaults)
public:
    static QString describe(const QSqlError& error);
    static QString describe(const QString& serverText);
};
