#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Only one copy of the program works on a data folder at a time, so neither
// overwrites the other's saves. The lock lives in the browser subfolder
// (export and import copy plain files only, so it never travels), and a lock
// left by a copy that crashed is taken over.
class DataFolderLock {
public:
    enum class Outcome {
        Locked,
        HeldByAnotherCopy,
        Failed,  // the lock file could not be made: see problem()
    };

    explicit DataFolderLock(const QString& dataFolder);

    Outcome tryLock();
    bool isLocked() const { return m_lock && m_lock->isLocked(); }
    QString lockFilePath() const { return m_path; }
    // "<path>: <reason>" after a failed tryLock().
    QString problem() const { return m_problem; }

private:
    QString m_path;
    QString m_problem;
    std::unique_ptr<QLockFile> m_lock;
};
