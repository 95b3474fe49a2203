#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// The tables of history.sqlite and their versions. The version lives in the
// file (PRAGMA user_version); each step upgrades one version to the next, so a
// file of any earlier version is brought up to date in one transaction.
namespace HistorySchema {

// The version this program writes.
int currentVersion();

// Brings the open database to currentVersion(). `error` gets the reason when
// it could not (the file is left as it was). A file of a later version is left
// alone and reported as such: this program does not know its tables.
bool upgrade(QSqlDatabase& db, QString* error);

// The entries of the database's schema that this program's steps do not make,
// each as "<type> <name>" (a trigger, a view, another table, an index of
// another form). A file of an earlier version holds a part of ours. `error`
// gets the reason when the schema could not be read.
QStringList foreignObjects(QSqlDatabase& db, QString* error);

}  // namespace HistorySchema
