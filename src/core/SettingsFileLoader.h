#pragma once

#include "SettingsFile.h"

#include <QString>

#include <memory>
#include <thread>

class QThread;

// Reads and scans the settings file on a worker thread (with many sites it is
// megabytes) while the window and the browser engine start on this one. The
// file object is handed to the thread that made the loader.
class SettingsFileLoader {
public:
    explicit SettingsFileLoader(const QString& path);
    ~SettingsFileLoader();  // waits for the worker
    SettingsFileLoader(const SettingsFileLoader&) = delete;
    SettingsFileLoader& operator=(const SettingsFileLoader&) = delete;

    // Waits for the read; the result has no parent. Once only.
    std::unique_ptr<SettingsFile> take();

private:
    std::unique_ptr<SettingsFile> m_file;
    QThread* m_owner;
    std::thread m_worker;  // last: starts once the members above are set
};
