#include "PostHistory.h"

#include "HistoryDatabase.h"

#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

namespace {

QString isoTime(const QDateTime& time) { return time.toUTC().toString(Qt::ISODate); }

// An address as the history keeps it: without "user:password@", as the form
// memory keeps its pages. Any other address stays as it was given.
QString withoutUserInfo(const QString& address)
{
    const QUrl url(address);
    if (!url.isValid() || url.userInfo().isEmpty())
        return address;
    return url.adjusted(QUrl::RemoveUserInfo).toString();
}

void keepLatest(QHash<QString, PostEntry>& posts, const PostEntry& entry)
{
    auto found = posts.find(entry.site);
    if (found == posts.end() || found->postedAt <= entry.postedAt)
        posts.insert(entry.site, entry);
}

}  // namespace

PostHistory::PostHistory(HistoryDatabase& database, QObject* parent) : QObject(parent), m_database(database) {}

QHash<QString, PostEntry> PostHistory::latestPostsOf(const QString& article) const
{
    QHash<QString, PostEntry> posts;
    if (m_database.ensureOpen()) {
        QSqlQuery query(m_database.database());
        query.setForwardOnly(true);
        // Rows still under a name whose rename the database has not taken yet.
        QStringList names{article};
        for (const PendingRename& pending : m_pendingRenames)
            if (pending.field == &PostEntry::article && renamed(&PostEntry::article, pending.oldName) == article)
                names << pending.oldName;
        query.prepare(QStringLiteral("SELECT id, site, posted_at, form_url, post_url, by_hand FROM posts"
                                     " WHERE article IN (%1) AND withdrawn_at IS NULL")
                          .arg(QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','))));
        for (const QString& name : names)
            query.addBindValue(name);
        if (query.exec()) {
            while (query.next()) {
                PostEntry entry;
                entry.id = query.value(0).toLongLong();
                entry.site = renamed(&PostEntry::site, query.value(1).toString());
                entry.article = article;
                entry.postedAt = QDateTime::fromString(query.value(2).toString(), Qt::ISODate);
                entry.formUrl = query.value(3).toString();
                entry.postUrl = query.value(4).toString();
                entry.byHand = query.value(5).toBool();
                keepLatest(posts, entry);
            }
        }
    }
    for (PostEntry entry : m_held) {
        if (entry.article != article)
            continue;
        entry.heldBecause = m_lastFailure;
        keepLatest(posts, entry);
    }
    return posts;
}

void PostHistory::failed(const QString& error)
{
    m_lastFailure = error;
    emit writeFailed(error);
}

bool PostHistory::insert(PostEntry& entry, QString* error)
{
    qint64 row = 0;
    const bool stored = m_database.write(
        [&](QSqlQuery& query) {
            query.prepare(QStringLiteral("INSERT INTO posts (site, article, posted_at, form_url, post_url, by_hand)"
                                         " VALUES (?, ?, ?, COALESCE(?, ''), COALESCE(?, ''), ?)"));
            query.addBindValue(entry.site);
            query.addBindValue(entry.article);
            query.addBindValue(isoTime(entry.postedAt));
            query.addBindValue(entry.formUrl);
            query.addBindValue(entry.postUrl);
            query.addBindValue(entry.byHand ? 1 : 0);
            if (!query.exec())
                return false;
            row = query.lastInsertId().toLongLong();
            return true;
        },
        error);
    if (stored)
        entry.id = row;
    return stored;
}

bool PostHistory::storeHeldPosts()
{
    // Renames the database refused come first: later rows carry the new names.
    while (!m_pendingRenames.isEmpty()) {
        const PendingRename& pending = m_pendingRenames.first();
        QString error;
        if (!renameRows(pending.column, pending.oldName, pending.newName, &error)) {
            failed(error);
            return false;
        }
        m_pendingRenames.removeFirst();
    }
    while (!m_held.isEmpty()) {
        PostEntry entry = m_held.first();
        const qint64 heldId = entry.id;
        QString error;
        if (!insert(entry, &error)) {
            failed(error);
            return false;
        }
        m_storedIds.insert(heldId, entry.id);
        m_held.removeFirst();
    }
    return true;
}

qint64 PostHistory::recordPost(const QString& site, const QString& article, const QString& formUrl,
                               const QString& postUrl)
{
    PostEntry entry{
        0,     site, article, QDateTime::currentDateTimeUtc(), withoutUserInfo(formUrl), withoutUserInfo(postUrl),
        false, {},   {}};
    QString error;
    // Earlier posts first, so the rows keep the order they were made in.
    if (!storeHeldPosts() || !insert(entry, &error)) {
        if (!error.isEmpty())
            failed(error);
        entry.id = m_nextHeldId--;
        m_held << entry;
    }
    emit postRecorded(entry.id, entry);
    emit postsChanged(article);
    return entry.id;
}

PostEntry* PostHistory::heldEntry(qint64 id)
{
    for (PostEntry& entry : m_held)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

qint64 PostHistory::storedId(qint64 id) const { return id < 0 ? m_storedIds.value(id, id) : id; }

void PostHistory::updatePost(qint64 id, const QString& address, bool submittedAgain)
{
    const QString postUrl = withoutUserInfo(address);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    emit postUpdated(id, postUrl, submittedAgain);
    if (PostEntry* held = heldEntry(id)) {
        held->postUrl = postUrl;
        if (submittedAgain)
            held->postedAt = now;
        emit postsChanged(held->article);
        return;
    }
    const qint64 row = storedId(id);
    QString article;
    QString error;
    const bool stored = m_database.write(
        [&](QSqlQuery& query) {
            query.prepare(submittedAgain ? QStringLiteral(
                              "UPDATE posts SET post_url = COALESCE(?, ''), posted_at = ? WHERE id = ?")
                                         : QStringLiteral("UPDATE posts SET post_url = COALESCE(?, '') WHERE id = ?"));
            query.addBindValue(postUrl);
            if (submittedAgain)
                query.addBindValue(isoTime(now));
            query.addBindValue(row);
            if (!query.exec())
                return false;
            query.prepare(QStringLiteral("SELECT article FROM posts WHERE id = ?"));
            query.addBindValue(row);
            if (!query.exec())
                return false;
            if (query.next())
                article = query.value(0).toString();
            return true;
        },
        &error);
    if (!stored)
        failed(error);
    else if (!article.isEmpty())
        emit postsChanged(article);
}

bool PostHistory::markPosted(const QString& site, const QString& article)
{
    PostEntry entry{0, site, article, QDateTime::currentDateTimeUtc(), {}, {}, true, {}, {}};
    QString error;
    if (!storeHeldPosts() || !insert(entry, &error)) {
        if (!error.isEmpty())
            failed(error);
        return false;
    }
    emit postMarked(site, article, true);
    emit postsChanged(article);
    return true;
}

bool PostHistory::unmarkPosted(const QString& site, const QString& article)
{
    // A held post must reach its row first, or it would come back unwithdrawn.
    if (!storeHeldPosts())
        return false;
    QString error;
    const bool stored = m_database.write(
        [&](QSqlQuery& query) {
            query.prepare(QStringLiteral(
                "UPDATE posts SET withdrawn_at = ? WHERE site = ? AND article = ? AND withdrawn_at IS NULL"));
            query.addBindValue(isoTime(QDateTime::currentDateTimeUtc()));
            query.addBindValue(site);
            query.addBindValue(article);
            return query.exec();
        },
        &error);
    if (!stored) {
        failed(error);
        return false;
    }
    emit postMarked(site, article, false);
    emit postsChanged(article);
    return true;
}

void PostHistory::renameSite(const QString& oldName, const QString& newName)
{
    rename(&PostEntry::site, QStringLiteral("site"), oldName, newName);
}

void PostHistory::renameArticle(const QString& oldName, const QString& newName)
{
    rename(&PostEntry::article, QStringLiteral("article"), oldName, newName);
}

void PostHistory::rename(QString PostEntry::*field, const QString& column, const QString& oldName,
                         const QString& newName)
{
    if (oldName == newName)
        return;
    for (PostEntry& entry : m_held)
        if (entry.*field == oldName)
            entry.*field = newName;
    // Kept until the database takes it, in order with the other renames.
    m_pendingRenames << PendingRename{field, column, oldName, newName};
    storeHeldPosts();
    emit postsChanged(QString());
}

bool PostHistory::renameRows(const QString& column, const QString& oldName, const QString& newName, QString* error)
{
    return m_database.write(
        [&](QSqlQuery& query) {
            query.prepare(QStringLiteral("UPDATE posts SET %1 = ? WHERE %1 = ?").arg(column));
            query.addBindValue(newName);
            query.addBindValue(oldName);
            return query.exec();
        },
        error);
}

QString PostHistory::renamed(QString PostEntry::*field, QString name) const
{
    for (const PendingRename& pending : m_pendingRenames)
        if (pending.field == field && pending.oldName == name)
            name = pending.newName;
    return name;
}

void PostHistory::reload()
{
    m_storedIds.clear();
    emit replaced();
    emit postsChanged(QString());
}
