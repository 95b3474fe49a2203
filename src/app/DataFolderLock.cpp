#include "DataFolderLock.h"

#include "DataFolder.h"

#include <QFileInfo>

DataFolderLock::DataFolderLock(const QString& dataFolder)
    : m_path(dataFolder + QStringLiteral("browser/qvbzevi.lock"))
{
}

bool DataFolderLock::tryLock()
{
    if (!DataFolder::ensure(QFileInfo(m_path).absolutePath()))
        return false;
    m_lock = std::make_unique<QLockFile>(m_path);
    // A copy that is still running keeps the lock however long it runs.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
