#include "HistorySchema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// One entry per version: the statements that lead from the version before.
// Never change an entry once released; add the next one.
const char* const Steps[] = {
    // 1: one row per post; a post withdrawn by the user keeps its row.
    "CREATE TABLE posts ("
    " id INTEGER PRIMARY KEY,"
    " site TEXT NOT NULL,"
    " article TEXT NOT NULL,"
    " posted_at TEXT NOT NULL,"  // UTC, ISO 8601
    " form_url TEXT NOT NULL DEFAULT '',"
    " post_url TEXT NOT NULL DEFAULT '',"
    " by_hand INTEGER NOT NULL DEFAULT 0,"
    " withdrawn_at TEXT);"
    "CREATE INDEX posts_by_article ON posts(article, site);"
    "CREATE INDEX posts_by_site ON posts(site);",
    // 2: the form memory: per site and page, which text each field takes, in
    // the order the fields were filled. No text of the user's is kept.
    "CREATE TABLE form_fields ("
    " site TEXT NOT NULL,"
    " page TEXT NOT NULL,"  // the address without query and fragment
    " position INTEGER NOT NULL,"
    " locator TEXT NOT NULL,"  // JSON, as the browser finds the field
    " target TEXT NOT NULL,"  // user, password, identifier, clause N, paragraph N
    " PRIMARY KEY (site, page, locator));",
    // 3: one address may hold several forms (a wiki's login and edit pages):
    // the form each learnt field belongs to; a field without a row is in form 0.
    "CREATE TABLE form_field_forms ("
    " site TEXT NOT NULL,"
    " page TEXT NOT NULL,"
    " locator TEXT NOT NULL,"
    " form INTEGER NOT NULL,"
    " PRIMARY KEY (site, page, locator));",
    // 4: the changes waiting for the team's server, in the order they were
    // made, each under the key the server knows it by: kept across a restart
    // and sent until the server has them.
    "CREATE TABLE team_outbox ("
    " id INTEGER PRIMARY KEY,"
    " key TEXT NOT NULL UNIQUE,"
    " kind TEXT NOT NULL,"
    " data TEXT NOT NULL);",  // JSON: names and addresses, never a text or a password
};

constexpr int StepCount = int(sizeof(Steps) / sizeof(Steps[0]));

// An entry of the schema: its type, name, table and statement.
using SchemaEntry = QStringList;

bool readSchema(QSqlDatabase& db, QList<SchemaEntry>* entries, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master"))) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next())
        *entries << SchemaEntry{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                                query.value(3).toString()};
    return true;
}

// The schema this program makes, read from an empty database brought up to
// date: the statements exactly as SQLite keeps them.
const QList<SchemaEntry>& ownSchema()
{
    static const QList<SchemaEntry> entries = [] {
        QList<SchemaEntry> made;
        const QString connection = QStringLiteral("qvb-history-own-schema");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(QStringLiteral(":memory:"));
            QString error;
            if (db.open() && HistorySchema::upgrade(db, &error))
                readSchema(db, &made, &error);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return made;
    }();
    return entries;
}

bool run(QSqlDatabase& db, const QString& statement, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    *error = query.lastError().text();
    return false;
}

}  // namespace

namespace HistorySchema {

int currentVersion() { return StepCount; }

bool upgrade(QSqlDatabase& db, QString* error)
{
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
        *error = version.lastError().text();
        return false;
    }
    const int found = version.value(0).toInt();
    version.finish();
    if (found > StepCount) {
        *error = QCoreApplication::translate("HistorySchema", "由更新版本的QVBzevi写入（版本 %1）").arg(found);
        return false;
    }
    if (found == StepCount)
        return true;
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    for (int step = found; step < StepCount; ++step) {
        for (const QString& statement : QString::fromLatin1(Steps[step]).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (!run(db, statement, error)) {
                db.rollback();
                return false;
            }
        }
    }
    if (!run(db, QStringLiteral("PRAGMA user_version = %1").arg(StepCount), error) || !db.commit()) {
        if (error->isEmpty())
            *error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

QStringList foreignObjects(QSqlDatabase& db, QString* error)
{
    QList<SchemaEntry> entries;
    if (!readSchema(db, &entries, error))
        return {};
    QStringList foreign;
    for (const SchemaEntry& entry : entries)
        if (!ownSchema().contains(entry))
            foreign << entry.at(0) + QLatin1Char(' ') + entry.at(1);
    return foreign;
}

}  // namespace HistorySchema
