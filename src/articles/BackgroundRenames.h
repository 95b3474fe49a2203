#pragma once

#include "StoredFile.h"

#include <QStringList>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

// Runs numbered steps (the paragraph-file renames of a delete) on a worker
// thread, one at a time under a lock, then a last step without it. Whoever
// touches the files the steps move takes lock() and asks stepsDone(): under
// the lock no step runs, so the count tells where each file is.
// A step that fails stops the run; the steps after it are not tried.
class BackgroundRenames {
public:
    using Step = std::function<WriteResult(size_t)>;
    using Last = std::function<WriteResult()>;
    // Called on the worker thread once the run ends, with every failure.
    using Finished = std::function<void(const QStringList& failures)>;

    BackgroundRenames(size_t count, Step step, Last last, Finished finished);
    ~BackgroundRenames();  // waits for the run
    BackgroundRenames(const BackgroundRenames&) = delete;
    BackgroundRenames& operator=(const BackgroundRenames&) = delete;

    std::unique_lock<std::mutex> lock();
    size_t stepsDone() const { return m_done; }  // with lock() held
    bool running();
    // Waits for the run to end; returns its failures.
    QStringList wait();

private:
    void run();

    const size_t m_count;
    Step m_step;
    Last m_last;
    Finished m_finished;
    std::mutex m_mutex;
    std::atomic<int> m_waiting{0};  // threads in lock(): the worker lets them in between steps
    size_t m_done = 0;
    bool m_over = false;
    QStringList m_failures;
    std::thread m_worker;  // last: starts once every member above is ready
};
