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
    explicit DataFolderLock(const QString& dataFolder);

    bool tryLock();
    bool isLocked() const { return m_lock && m_lock->isLocked(); }
    QString lockFilePath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
