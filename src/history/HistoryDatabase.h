#pragma once

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlQuery;

// history.sqlite in the data folder: the posting history and the form memory.
// The program never stops for it: a file that cannot be opened (damaged in
// any page, locked, unreadable, from a newer version, a pipe in its place)
// leaves the database closed and says why in problem(), and the file is never
// written over. The file, its journals and its copies are the owner's only. Every write is one transaction; a lock held
// by another program is waited for a short while (busy timeout), then the write fails with the reason.
class HistoryDatabase {
public:
    static constexpr int BusyTimeoutMs = 1000;
    static constexpr int RetryAfterMs = 2000;

    explicit HistoryDatabase(const QString& dataFolder);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    static QString fileName() { return QStringLiteral("history.sqlite"); }
    // The database file and the journals SQLite keeps beside it: copied only
    // as a whole, by copyTo() and replaceFrom(), never byte by byte.
    static bool isDatabaseFile(const QString& name);

    QString path() const { return m_path; }
    // Opens the file, creating it when it is missing; true when it is usable.
    bool open();
    void close();
    bool isOpen() const { return m_open; }
    // For reads: opens a closed database again, at most every RetryAfterMs.
    bool ensureOpen();
    // Why the database is closed: "<path>: <reason>", empty when it is open.
    QString problem() const { return m_problem; }
    QSqlDatabase database() const;

    // Runs `work` in one transaction and commits it (opening the database
    // first when it is closed); on failure nothing of it stays and `error`
    // gets "<path>: <reason>".
    bool write(const std::function<bool(QSqlQuery&)>& work, QString* error);
    // "<path>: <reason>" for a query that failed.
    QString describe(const QSqlQuery& query) const;

    // A consistent copy (never one taken mid-transaction) into `folder`,
    // replacing the copy there. Empty, or the reason it failed.
    QString copyTo(const QString& folder);
    // Replaces this database with the one in `folder`, copied the same way,
    // and opens it. Only a history of this program's own tables is taken: a
    // file holding triggers, views or other tables is refused. A folder without one leaves this one as it is
    // (`replaced` false). Empty, or the reason it failed: then this one stays.
    QString replaceFrom(const QString& folder, bool* replaced);

private:
    bool openAt(bool readOnly);
    QString snapshotInto(QSqlDatabase& source, const QString& targetPath);

    QString m_path;
    QString m_connection;
    QString m_problem;
    bool m_open = false;
    QElapsedTimer m_lastTry;
};
