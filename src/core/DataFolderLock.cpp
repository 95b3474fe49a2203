#include "DataFolderLock.h"

#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

DataFolderLock::DataFolderLock(const QString& dataFolder) : m_path(dataFolder + QStringLiteral("browser/qvbzevi.lock"))
{
}

DataFolderLock::Outcome DataFolderLock::tryLock()
{
    const QString folder = QFileInfo(m_path).absolutePath();
    DataFolder::ensure(folder);
    m_lock = std::make_unique<QLockFile>(m_path);
    // A copy that is still running keeps the lock however long it runs.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Outcome::Locked;
    if (m_lock->error() == QLockFile::LockFailedError)
        return Outcome::HeldByAnotherCopy;
    // Anything else (a full disk, a read-only folder, a file in the folder's
    // place) is named as it is: QLockFile itself only says "permission" or
    // "unknown".
    QString reason = DataFolder::writeProblem(folder);
    if (reason.isEmpty())
        reason = m_lock->error() == QLockFile::PermissionError
            ? QCoreApplication::translate("DataFolderLock", "permission denied")
            : QCoreApplication::translate("DataFolderLock", "the lock file could not be made");
    m_problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), reason);
    m_lock.reset();
    return Outcome::Failed;
}
