#include "SettingsFileLoader.h"

#include <QThread>

SettingsFileLoader::SettingsFileLoader(const QString& path)
    : m_owner(QThread::currentThread()), m_worker([this, path] {
          m_file = std::make_unique<SettingsFile>(path);
          m_file->moveToThread(m_owner);  // pushed from here: only the object's own thread may
      })
{
}

SettingsFileLoader::~SettingsFileLoader()
{
    if (m_worker.joinable())
        m_worker.join();
}

std::unique_ptr<SettingsFile> SettingsFileLoader::take()
{
    if (m_worker.joinable())
        m_worker.join();
    return std::move(m_file);
}
