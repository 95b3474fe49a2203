#include "HistoryDatabase.h"

#include "HistoryFiles.h"
#include "HistorySchema.h"
#include "StoredFile.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace {

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("qvb-history-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString tr(const char* text) { return QCoreApplication::translate("HistoryDatabase", text); }

// Every connection: what the file's schema holds is data, never code that
// runs with this program's rights (functions in triggers, views, defaults).
bool distrustSchema(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("PRAGMA trusted_schema=OFF")))
        return true;
    *error = query.lastError().text();
    return false;
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

// Damage anywhere in the file, not only in its first page: empty when the
// check finds none. A check that cannot run (a lock, a page that cannot be
// read) gives SQLite's own reason.
QString damage(QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
        return query.lastError().text();
    const QString found = query.value(0).toString();
    return found == QLatin1String("ok") ? QString()
                                        : QCoreApplication::translate("HistoryDatabase", "文件已损坏（%1）").arg(found);
}

// Why a database just opened cannot be used: empty when it can. A damaged
// file, or one of a later version, is left as it is.
QString readyForUse(QSqlDatabase& db, bool readOnly)
{
    QString error;
    if (!distrustSchema(db, &error))
        return error;
    if (QString found = damage(db); !found.isEmpty())
        return found;
    if (!readOnly)
        return HistorySchema::upgrade(db, &error) && useWriteAheadLog(db, &error) ? QString() : error;
    // Read-only: the tables must already be this version's.
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
        return version.lastError().text();
    if (version.value(0).toInt() != HistorySchema::currentVersion())
        return tr("版本 %1 的文件不能只读打开").arg(version.value(0).toInt());
    return {};
}

// Why a database is not one to import: of a later version, damaged, or
// holding more than this program's own tables.
QString importProblem(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return query.lastError().text();
    const int version = query.value(0).toInt();
    query.finish();
    if (version > HistorySchema::currentVersion())
        return QCoreApplication::translate("HistorySchema", "由更新版本的QVBzevi写入（版本 %1）").arg(version);
    if (QString found = damage(db); !found.isEmpty())
        return found;
    QString error;
    const QStringList foreign = HistorySchema::foreignObjects(db, &error);
    if (!error.isEmpty())
        return error;
    if (!foreign.isEmpty())
        return QCoreApplication::translate("HistoryDatabase", "含有发布记录以外的数据库内容（%1），不予导入")
            .arg(foreign.join(QStringLiteral(", ")));
    return {};
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
    QString problem = HistoryFiles::openProblem(m_path, O_RDONLY);
    // Made before SQLite makes it: its journals take the file's mode.
    if (problem.isEmpty())
        problem = HistoryFiles::makeOwnerOnly(m_path);
    if (!problem.isEmpty()) {
        m_problem = m_path + QStringLiteral(": ") + problem;
        return false;
    }
    // A file that may be read but not written is shown, never changed.
    const bool readOnly = !HistoryFiles::openProblem(m_path, O_RDWR).isEmpty();
    if (!openAt(readOnly))
        return false;
    if (readOnly)
        m_problem = m_path + QStringLiteral(": ") + HistoryFiles::openProblem(m_path, O_RDWR);
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
        const QString error = db.open() ? readyForUse(db, readOnly) : db.lastError().text();
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
    // another connection is writing. It fills an empty file that is there:
    // made first, for its owner only.
    QString reason;
    const QString temporary = HistoryFiles::createTemporaryBeside(targetPath, &reason);
    if (temporary.isEmpty())
        return reason;
    QSqlQuery query(source);
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(temporary);
    if (!query.exec()) {
        const QString reason = query.lastError().text();
        QFile::remove(temporary);
        return reason;
    }
    query.finish();
    reason = HistoryFiles::syncFile(temporary);
    if (reason.isEmpty()) {
        HistoryFiles::removeJournals(targetPath);
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
        HistoryFiles::removeJournals(target);
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
    const QString problem = HistoryFiles::openProblem(source, O_RDONLY);
    if (!problem.isEmpty())
        return source + QStringLiteral(": ") + problem;

    const QString connection = uniqueConnectionName();
    QString reason;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(source);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        QString error;
        if (!db.open()) {
            reason = source + QStringLiteral(": ") + db.lastError().text();
        } else if (!distrustSchema(db, &error)) {
            reason = source + QStringLiteral(": ") + error;
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
