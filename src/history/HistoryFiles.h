#pragma once

#include <QString>

// The files of history.sqlite on the disk: the database, the journals SQLite
// keeps beside it, and the temporary copies of an export or an import. Like
// every stored file they are their owner's only (mode 0600): SQLite gives its
// journals the database file's mode, so the database file is made 0600 before
// SQLite opens it.
namespace HistoryFiles {

// Why `path` cannot be handed to SQLite: empty when it is a regular file that
// opens with `flags` (or is missing). Pipes and devices never are: a read of a
// pipe would wait for ever.
QString openProblem(const QString& path, int flags);

// Creates the missing database file, empty and for its owner only; takes the
// group's and others' rights from an existing one (and its journals) that
// belongs to this user. Empty, or the reason the file could not be made.
QString makeOwnerOnly(const QString& databasePath);

// A new, empty file beside `path` for its owner only, under a name of its own
// (DataFolder cleans up a crash's leftovers by that name). Empty when none
// could be made; `error` gets the reason.
QString createTemporaryBeside(const QString& path, QString* error);

// Flushes a finished file to the disk before it replaces another.
QString syncFile(const QString& path);

// The journals SQLite may keep beside a database file. A journal left over
// from another file would be played into the new one, so they go first.
void removeJournals(const QString& databasePath);

}  // namespace HistoryFiles
