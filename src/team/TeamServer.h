#pragma once

#include "TeamTypes.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

class QSqlDatabase;

// The team's statements on an open connection to the server, each call in
// one transaction. Only the connection's own thread may call them.
namespace TeamServer {

// A post's claim lasts this long unless its post or the member's next claim
// ends it first.
constexpr int ClaimSeconds = 10 * 60;
// How many candidates the first question to the server carries.
constexpr int ClaimBatch = 200;
// Told to every member's connection, with the md5 of the article changed.
inline QString channel() { return QStringLiteral("qvbzevi_team"); }
QByteArray articleDigest(const QString& article);

struct Round {
    QHash<QString, TeamPost> posts;  // the latest live post of each site
    QList<TeamClaim> claims;  // live ones, `until` on this computer's clock
};

// Stores the changes in order, in one transaction that also tells every
// member which articles changed. A change seen before changes nothing.
bool apply(QSqlDatabase& db, const QList<TeamChange>& changes, QString* error);
bool loadRound(QSqlDatabase& db, const QString& article, Round* round, QString* error);
// The first of `candidates` (in their order) the member may take, claimed
// for it; empty when none is free.
bool claimNext(QSqlDatabase& db, const QString& article, const QString& member, const QStringList& candidates,
               QString* site, QString* error);
bool formOf(QSqlDatabase& db, const QString& site, const QString& page, QList<TeamFormField>* fields, QString* error);

}  // namespace TeamServer
