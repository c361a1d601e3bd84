#include "support/FileSizeLimit.h"

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    if (::getrlimit(RLIMIT_FSIZE, &m_before) != 0)
        return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    if (::sigaction(SIGXFSZ, &ignore, &m_signalBefore) != 0)
        return;
    struct rlimit limit = m_before;
    limit.rlim_cur = rlim_t(bytes);
    if (m_before.rlim_max != RLIM_INFINITY && limit.rlim_cur > m_before.rlim_max)
        limit.rlim_cur = m_before.rlim_max;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        ::sigaction(SIGXFSZ, &m_signalBefore, nullptr);
        return;
    }
    m_set = true;
}

FileSizeLimit::~FileSizeLimit()
{
    lift();
}

void FileSizeLimit::lift()
{
    if (!m_set)
        return;
    ::setrlimit(RLIMIT_FSIZE, &m_before);
    ::sigaction(SIGXFSZ, &m_signalBefore, nullptr);
    m_set = false;
}
