#pragma once

#include <QString>

class QSqlDatabase;

// The team's tables on the PostgreSQL server, in a schema of their own
// ("qvbzevi"), so they meet no other program's tables of the same names.
// Versioned like history.sqlite: each step leads from one version to the
// next; the first client to connect brings the server up to date, in one
// transaction, while others wait for it.
namespace TeamServerSchema {

int currentVersion();

// Brings the server to currentVersion(). A server of a later version is left
// alone, and `error` says so; so it does for any statement that failed.
bool upgrade(QSqlDatabase& db, QString* error);

// The version the server holds: 0 for none yet, -1 when it could not be read.
int serverVersion(QSqlDatabase& db, QString* error);

}  // namespace TeamServerSchema
