#pragma once

#include <QtGlobal>

#include <csignal>

#include <sys/resource.h>

// A full disk stood in for by a file size limit on this process: a write past the limit
// comes back short, the next fails (with the signal that would end the process ignored).
// The limit and the signal's handling are restored when the object goes, even when a
// check fails halfway.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isSet() const { return m_set; }
    // Lifts the limit early: the space is back.
    void lift();

private:
    struct rlimit m_before {};
    struct sigaction m_signalBefore {};
    bool m_set = false;
};
