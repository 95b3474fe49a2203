#include "TeamServer.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

bool failed(const QSqlQuery& query, QString* error)
{
    *error = query.lastError().text();
    return false;
}

bool exec(QSqlQuery& query, const QVariantList& values, QString* error)
{
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec() || failed(query, error);
}

// Times travel as milliseconds since the epoch: no time zone or format
// between the two ends.
QVariant msecs(const QString& isoTime)
{
    const QDateTime time = QDateTime::fromString(isoTime, Qt::ISODateWithMs);
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant(QMetaType(QMetaType::LongLong));
}

bool applyOne(QSqlQuery& query, const TeamChange& change, QSet<QString>* articles, QString* error)
{
    const QJsonObject& d = change.data;
    auto text = [&d](const char* name) { return d.value(QLatin1String(name)).toString(); };
    switch (change.kind) {
    case TeamChange::Post:
        articles->insert(text("article"));
        query.prepare(QStringLiteral(
            "INSERT INTO qvbzevi.posts (key, site, article, member, posted_at, form_url, post_url, by_hand)"
            " VALUES (?::uuid, ?, ?, ?, to_timestamp(?::bigint / 1000.0), coalesce(?, ''), coalesce(?, ''), ?)"
            " ON CONFLICT (key) DO NOTHING"));
        if (!exec(query,
                  {change.key, text("site"), text("article"), text("member"), msecs(text("posted_at")),
                   text("form_url"), text("post_url"), d.value(QLatin1String("by_hand")).toBool()},
                  error))
            return false;
        // Its post ends the site's claim.
        query.prepare(QStringLiteral("DELETE FROM qvbzevi.claims WHERE article = ? AND site = ?"));
        return exec(query, {text("article"), text("site")}, error);
    case TeamChange::Update:
        query.prepare(QStringLiteral("UPDATE qvbzevi.posts SET post_url = coalesce(?, ''),"
                                     " posted_at = coalesce(to_timestamp(?::bigint / 1000.0), posted_at) WHERE key = "
                                     "?::uuid RETURNING article"));
        if (!exec(query, {text("post_url"), msecs(text("posted_at")), text("post")}, error))
            return false;
        if (query.next())
            articles->insert(query.value(0).toString());
        return true;
    case TeamChange::Withdraw:
        // Only posts made before the withdrawal: one sent again later must
        // not take back a post made since.
        articles->insert(text("article"));
        query.prepare(QStringLiteral("UPDATE qvbzevi.posts SET withdrawn_at = to_timestamp(?::bigint / 1000.0)"
                                     " WHERE article = ? AND site = ? AND withdrawn_at IS NULL"
                                     " AND posted_at <= to_timestamp(?::bigint / 1000.0)"));
        return exec(query, {msecs(text("at")), text("article"), text("site"), msecs(text("at"))}, error);
    case TeamChange::Form: {
        query.prepare(QStringLiteral("DELETE FROM qvbzevi.form_fields WHERE site = ? AND page = ?"));
        if (!exec(query, {text("site"), text("page")}, error))
            return false;
        const QJsonArray fields = d.value(QLatin1String("fields")).toArray();
        for (int position = 0; position < fields.size(); ++position) {
            const QJsonObject field = fields.at(position).toObject();
            query.prepare(QStringLiteral("INSERT INTO qvbzevi.form_fields"
                                         " (site, page, locator, form, position, target, taught_by)"
                                         " VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (site, page, locator) DO UPDATE"
                                         " SET form = excluded.form, position = excluded.position,"
                                         " target = excluded.target, taught_by = excluded.taught_by"));
            if (!exec(query,
                      {text("site"), text("page"), field.value(QLatin1String("locator")).toString(),
                       field.value(QLatin1String("form")).toInt(), position,
                       field.value(QLatin1String("target")).toString(), text("member")},
                      error))
                return false;
        }
        return true;
    }
    }
    return true;
}

}  // namespace

namespace TeamServer {

QByteArray articleDigest(const QString& article)
{
    return QCryptographicHash::hash(article.toUtf8(), QCryptographicHash::Md5).toHex();
}

bool apply(QSqlDatabase& db, const QList<TeamChange>& changes, QString* error)
{
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    QSet<QString> articles;
    bool done = true;
    for (const TeamChange& change : changes)
        if (done)
            done = applyOne(query, change, &articles, error);
    // Told in the same transaction: a member hears of it once it is there.
    for (const QString& article : std::as_const(articles))
        if (done) {
            query.prepare(QStringLiteral("SELECT pg_notify(?, ?)"));
            done = exec(query, {channel(), QString::fromLatin1(articleDigest(article))}, error);
        }
    query.finish();
    if (done && db.commit())
        return true;
    if (done)
        *error = db.lastError().text();
    db.rollback();
    return false;
}

bool loadRound(QSqlDatabase& db, const QString& article, Round* round, QString* error)
{
    // Not forward-only: the Qt driver then takes the rows in one result
    // instead of one result per row, several times quicker for a big round.
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "SELECT DISTINCT ON (site) site, member, (extract(epoch FROM posted_at) * 1000)::bigint, form_url, post_url,"
        " by_hand FROM qvbzevi.posts WHERE article = ? AND withdrawn_at IS NULL ORDER BY site, posted_at DESC"));
    if (!exec(query, {article}, error))
        return false;
    while (query.next()) {
        TeamPost post;
        post.site = query.value(0).toString();
        post.article = article;
        post.member = query.value(1).toString();
        post.postedAt = QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC);
        post.formUrl = query.value(3).toString();
        post.postUrl = query.value(4).toString();
        post.byHand = query.value(5).toBool();
        post.sent = true;
        round->posts.insert(post.site, post);
    }
    // The server's clock decides how long a claim has left; this computer's
    // clock may differ from it.
    query.prepare(QStringLiteral("SELECT site, member, (extract(epoch FROM until - clock_timestamp()) * 1000)::bigint"
                                 " FROM qvbzevi.claims WHERE article = ? AND until > clock_timestamp()"));
    if (!exec(query, {article}, error))
        return false;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    while (query.next())
        round->claims << TeamClaim{query.value(0).toString(), query.value(1).toString(),
                                   now.addMSecs(query.value(2).toLongLong())};
    return true;
}

bool claimNext(QSqlDatabase& db, const QString& article, const QString& member, const QStringList& candidates,
               QString* site, QString* error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT qvbzevi.claim_next(?, ?, ?::jsonb, ?)"));
    // A few candidates at a time: the first free site is usually among the
    // first, and a short list is quicker to send and to read on the server.
    // The batches grow: a member that knows little of the round passes the
    // posted sites in a few questions.
    site->clear();
    qsizetype batch = ClaimBatch;
    for (qsizetype first = 0; first < candidates.size() && site->isEmpty(); first += batch, batch *= 2) {
        const QString names = QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(candidates.mid(first, batch))).toJson(QJsonDocument::Compact));
        if (!exec(query, {article, member, names, ClaimSeconds}, error))
            return false;
        *site = query.next() ? query.value(0).toString() : QString();
    }
    return true;
}

bool formOf(QSqlDatabase& db, const QString& site, const QString& page, QList<TeamFormField>* fields, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT locator, target, form FROM qvbzevi.form_fields WHERE site = ? AND page = ? ORDER BY position"));
    if (!exec(query, {site, page}, error))
        return false;
    while (query.next())
        *fields << TeamFormField{query.value(0).toString(), query.value(1).toString(), query.value(2).toInt()};
    return true;
}

}  // namespace TeamServer
