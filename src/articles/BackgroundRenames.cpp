#include "BackgroundRenames.h"

BackgroundRenames::BackgroundRenames(size_t count, Step step, Last last, Finished finished)
    : m_count(count),
      m_step(std::move(step)),
      m_last(std::move(last)),
      m_finished(std::move(finished)),
      m_worker([this] { run(); })
{
}

BackgroundRenames::~BackgroundRenames()
{
    if (m_worker.joinable())
        m_worker.join();
}

void BackgroundRenames::run()
{
    QStringList failures;
    for (size_t i = 0; i < m_count; ++i) {
        // A mutex is not fair: without this the worker would take it again at
        // once, and a read in the window would wait for the whole run.
        while (m_waiting.load(std::memory_order_acquire) > 0)
            std::this_thread::yield();
        const std::lock_guard<std::mutex> guard(m_mutex);
        const WriteResult result = m_step(i);
        if (!result) {
            failures << result.error;
            break;
        }
        ++m_done;
    }
    if (failures.isEmpty())
        if (const WriteResult result = m_last(); !result)
            failures << result.error;
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_failures = failures;
        m_over = true;
    }
    if (m_finished)
        m_finished(failures);
}

std::unique_lock<std::mutex> BackgroundRenames::lock()
{
    m_waiting.fetch_add(1, std::memory_order_acq_rel);
    std::unique_lock<std::mutex> guard(m_mutex);
    m_waiting.fetch_sub(1, std::memory_order_acq_rel);
    return guard;
}

bool BackgroundRenames::running()
{
    const std::lock_guard<std::mutex> guard(m_mutex);
    return !m_over;
}

QStringList BackgroundRenames::wait()
{
    if (m_worker.joinable())
        m_worker.join();
    return m_failures;
}
