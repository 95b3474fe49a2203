#pragma once

#include <csignal>

#include <sys/resource.h>

// While one lives, the kernel refuses to let this process make a file larger
// than `bytes`: a write past it fails with EFBIG ("File too large"), as on a
// disk that fills up. SIGXFSZ, which would end the process, is ignored
// meanwhile. The soft limit alone is lowered, so it can be raised again.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{bytes, m_before.rlim_max};
        m_set = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool isSet() const { return m_set; }

private:
    rlimit m_before{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_set = false;
};
