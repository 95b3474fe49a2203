#pragma once

#include "TeamTypes.h"

#include <QList>
#include <QStringList>

class HistoryDatabase;

// The changes this computer made that the team's server does not have yet,
// in the order they were made: kept in history.sqlite (team_outbox), so they
// survive a restart, and sent until the server has taken them. A change the
// database cannot take stays in memory, is sent all the same, and is written
// by the next write that succeeds.
class TeamOutbox {
public:
    explicit TeamOutbox(HistoryDatabase& database);

    // Reads what an earlier run left. Empty, or why it could not.
    QString load();
    // Empty, or why the database could not keep it (it is kept in memory).
    QString add(const TeamChange& change);
    // The server has them. Empty, or why the database still holds them
    // (they are sent once more, which the server ignores).
    QString remove(const QStringList& keys);

    const QList<TeamChange>& changes() const { return m_changes; }

private:
    QString storeUnsaved();

    HistoryDatabase& m_database;
    QList<TeamChange> m_changes;
    int m_saved = 0;  // how many of m_changes, from the front, are in the database
};
