#include "HistoryDatabase.h"

#include "HistorySchema.h"
#include "StoredFile.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("qvb-history-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString tr(const char* text) { return QCoreApplication::translate("HistoryDatabase", text); }

// Why `path` cannot be opened as a database file: empty when it is a regular
// file that opens with `flags` (or is missing). Pipes and devices are never
// handed to SQLite: a read of a pipe would wait for ever.
QString fileProblem(const QString& path, int flags)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (!info.isFile())
        return tr("不是普通文件");
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return StoredFile::systemReason(errno);
    ::close(fd);
    return {};
}

// Flushes a finished file to the disk before it replaces another.
QString syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return StoredFile::systemReason(errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? QString() : StoredFile::systemReason(error);
}

// The journals SQLite may keep beside a database file. A journal left over
// from another file would be played into the new one, so they go first.
void removeJournals(const QString& databasePath)
{
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(databasePath + QLatin1String(suffix));
}

// A post is recorded on the window's thread: a commit appends to the log and
// syncs it once, instead of the rollback journal's several syncs. Still
// durable: synchronous=FULL syncs the log at every commit.
bool useWriteAheadLog(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))
        || !query.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        *error = query.lastError().text();
        return false;
    }
    return true;
}

// Why a database is not one to import: damaged, or of a later version.
QString importProblem(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return query.lastError().text();
    const int version = query.value(0).toInt();
    if (version > HistorySchema::currentVersion())
        return QCoreApplication::translate("HistorySchema", "由更新版本的QVBzevi写入（版本 %1）").arg(version);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return query.lastError().text();
    if (query.value(0).toString() != QLatin1String("ok"))
        return query.value(0).toString();
    return {};
}

QString temporaryPathBeside(const QString& path)
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += letters.at(QRandomGenerator::global()->bounded(letters.size()));
    return path + QStringLiteral(".qvbtmp-") + suffix;
}

}  // namespace

HistoryDatabase::HistoryDatabase(const QString& dataFolder)
    : m_path(QDir(dataFolder).absoluteFilePath(fileName())), m_connection(uniqueConnectionName())
{
}

HistoryDatabase::~HistoryDatabase() { close(); }

bool HistoryDatabase::isDatabaseFile(const QString& name)
{
    const QString base = fileName();
    return name.compare(base, Qt::CaseInsensitive) == 0
        || (name.startsWith(base, Qt::CaseInsensitive) && name.at(base.size()) == QLatin1Char('-'));
}

QSqlDatabase HistoryDatabase::database() const { return QSqlDatabase::database(m_connection, false); }

bool HistoryDatabase::open()
{
    close();
    QString problem = fileProblem(m_path, O_RDONLY);
    if (!problem.isEmpty()) {
        m_problem = m_path + QStringLiteral(": ") + problem;
        return false;
    }
    // A file that may be read but not written is shown, never changed.
    const bool readOnly = !fileProblem(m_path, O_RDWR).isEmpty();
    if (!openAt(readOnly))
        return false;
    if (readOnly)
        m_problem = m_path + QStringLiteral(": ") + fileProblem(m_path, O_RDWR);
    return true;
}

bool HistoryDatabase::ensureOpen()
{
    if (m_open)
        return true;
    // Reads come often (every refresh of the round): a file that would not
    // open is tried again now and then, not at every read.
    if (m_lastTry.isValid() && m_lastTry.elapsed() < RetryAfterMs)
        return false;
    m_lastTry.start();
    return open();
}

bool HistoryDatabase::openAt(bool readOnly)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
        if (readOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        QString error;
        if (!db.open())
            error = db.lastError().text();
        // The version first: a later version's file is left as it is.
        else if (!readOnly && !(HistorySchema::upgrade(db, &error) && useWriteAheadLog(db, &error)))
            ;
        else if (readOnly) {
            // Read-only: the tables must already be this version's.
            QSqlQuery version(db);
            if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
                error = version.lastError().text();
            else if (version.value(0).toInt() != HistorySchema::currentVersion())
                error = tr("版本 %1 的文件不能只读打开").arg(version.value(0).toInt());
        }
        if (error.isEmpty()) {
            m_open = true;
            m_problem.clear();
            return true;
        }
        m_problem = m_path + QStringLiteral(": ") + error;
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    return false;
}

void HistoryDatabase::close()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
}

QString HistoryDatabase::describe(const QSqlQuery& query) const
{
    return m_path + QStringLiteral(": ") + query.lastError().text();
}

bool HistoryDatabase::write(const std::function<bool(QSqlQuery&)>& work, QString* error)
{
    // A lock held at start, or a file put right since: each write tries again.
    if (!m_open && !open()) {
        *error = m_problem;
        return false;
    }
    if (!m_problem.isEmpty()) {  // opened read-only
        *error = m_problem;
        return false;
    }
    QSqlDatabase db = database();
    if (!db.transaction()) {
        *error = m_path + QStringLiteral(": ") + db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    if (!work(query)) {
        *error = describe(query);
        query.finish();
        db.rollback();
        return false;
    }
    query.finish();
    if (!db.commit()) {
        *error = m_path + QStringLiteral(": ") + db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

QString HistoryDatabase::snapshotInto(QSqlDatabase& source, const QString& targetPath)
{
    // VACUUM INTO reads in one transaction: a copy as of one moment, whatever
    // another connection is writing.
    const QString temporary = temporaryPathBeside(targetPath);
    QSqlQuery query(source);
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(temporary);
    if (!query.exec()) {
        const QString reason = query.lastError().text();
        QFile::remove(temporary);
        return reason;
    }
    query.finish();
    QString reason = syncFile(temporary);
    if (reason.isEmpty()) {
        removeJournals(targetPath);
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(targetPath).constData()) != 0)
            reason = StoredFile::systemReason(errno);
    }
    if (!reason.isEmpty())
        QFile::remove(temporary);
    return reason;
}

QString HistoryDatabase::copyTo(const QString& folder)
{
    const QString target = QDir(folder).absoluteFilePath(fileName());
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(m_path).canonicalFilePath() && QFileInfo::exists(m_path))
        return {};
    if (!m_open && QFileInfo(m_path).isFile())
        open();  // a lock held at start may be gone
    if (!m_open) {
        // A file this program cannot use is still the user's: it travels as
        // it is. No file yet, nothing to carry.
        if (!QFileInfo(m_path).isFile())
            return {};
        const ReadResult bytes = StoredFile::read(m_path);
        if (!bytes.ok())
            return bytes.error;
        removeJournals(target);
        const WriteResult written = StoredFile::writeBytes(target, bytes.bytes);
        return written.ok ? QString() : written.error;
    }
    QSqlDatabase db = database();
    const QString reason = snapshotInto(db, target);
    return reason.isEmpty() ? QString() : target + QStringLiteral(": ") + reason;
}

QString HistoryDatabase::replaceFrom(const QString& folder, bool* replaced)
{
    *replaced = false;
    const QString source = QDir(folder).absoluteFilePath(fileName());
    if (!QFileInfo::exists(source) || (QFileInfo(source).canonicalFilePath() == QFileInfo(m_path).canonicalFilePath()))
        return {};
    const QString problem = fileProblem(source, O_RDONLY);
    if (!problem.isEmpty())
        return source + QStringLiteral(": ") + problem;

    const QString connection = uniqueConnectionName();
    QString reason;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(source);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (!db.open()) {
            reason = source + QStringLiteral(": ") + db.lastError().text();
        } else if (const QString problem = importProblem(db); !problem.isEmpty()) {
            reason = source + QStringLiteral(": ") + problem;  // ours stays
        } else {
            // Copied beside ours first: ours stays until the copy is whole.
            close();
            reason = snapshotInto(db, m_path);
            if (!reason.isEmpty())
                reason = source + QStringLiteral(": ") + reason;
            else
                *replaced = true;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (*replaced || !m_open)
        open();
    return reason;
}
