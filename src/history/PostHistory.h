#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class HistoryDatabase;

// One post of an article to a site.
struct PostEntry {
    qint64 id = 0;  // below zero: held in memory until the database takes it
    QString site;
    QString article;
    QDateTime postedAt;  // UTC
    QString formUrl;  // the page the form was on
    QString postUrl;  // the address shown after the submit
    bool byHand = false;  // marked by the user, not seen being submitted
    QString heldBecause;  // a held post: why the database has not taken it
    QString member;  // a teammate's post, as the team's server told of it: who made it; empty for the user's own

    bool isHeld() const { return id < 0; }
};

// The posts table of history.sqlite. Sites and articles are kept by name; a
// deleted site or article keeps its rows, and a new one of the same name
// finds them again. A post recorded while the database cannot take it is held
// in memory, shown as held, and stored by the next write that succeeds (at
// the latest at exit); the failure is reported, never swallowed. Addresses are
// kept without their user info: a "user:password@" stays out of the file.
class PostHistory : public QObject {
    Q_OBJECT
public:
    explicit PostHistory(HistoryDatabase& database, QObject* parent = nullptr);

    // The latest post of each site that has one, for `article`.
    QHash<QString, PostEntry> latestPostsOf(const QString& article) const;

    // A submitted form: returns the post's id, for updatePost().
    qint64 recordPost(const QString& site, const QString& article, const QString& formUrl, const QString& postUrl);
    // The same post again: a new address, and with `submittedAgain` a new time.
    void updatePost(qint64 id, const QString& address, bool submittedAgain);
    // By the user's hand. Unmarking withdraws the site's posts of the article:
    // their rows stay, they no longer count.
    bool markPosted(const QString& site, const QString& article);
    bool unmarkPosted(const QString& site, const QString& article);
    void renameSite(const QString& oldName, const QString& newName);
    void renameArticle(const QString& oldName, const QString& newName);

    int heldCount() const { return int(m_held.size() + m_pendingRenames.size()); }
    // The last write that failed: "<path>: <reason>".
    QString lastFailure() const { return m_lastFailure; }
    // Stores the renames and posts held in memory; true when none is left.
    bool storeHeldPosts();
    // The database was replaced (an import): every view reads it again.
    void reload();

signals:
    // Posts of `article` changed; an empty name means any article.
    void postsChanged(const QString& article);
    // A write failed: "<path>: <reason>".
    void writeFailed(const QString& error);
    // The database was replaced: rows known by their id are gone.
    void replaced();
    // For a shared round: a post was recorded (`id` as recordPost returned
    // it), a post's address changed, a site was marked or unmarked by hand.
    void postRecorded(qint64 id, const PostEntry& entry);
    void postUpdated(qint64 id, const QString& postUrl, bool submittedAgain);
    void postMarked(const QString& site, const QString& article, bool posted);

private:
    void failed(const QString& error);
    bool insert(PostEntry& entry, QString* error);
    // Renames a site or an article (`column`, the entry's `field`) in every row.
    void rename(QString PostEntry::*field, const QString& column, const QString& oldName, const QString& newName);
    bool renameRows(const QString& column, const QString& oldName, const QString& newName, QString* error);
    // `name` as it reads after the renames still waiting for the database.
    QString renamed(QString PostEntry::*field, QString name) const;

    struct PendingRename {
        QString PostEntry::*field;
        QString column;
        QString oldName;
        QString newName;
    };
    PostEntry* heldEntry(qint64 id);
    qint64 storedId(qint64 id) const;

    HistoryDatabase& m_database;
    QList<PostEntry> m_held;
    QList<PendingRename> m_pendingRenames;
    QHash<qint64, qint64> m_storedIds;  // a held post's id -> its row, once stored
    qint64 m_nextHeldId = -1;
    QString m_lastFailure;
};
