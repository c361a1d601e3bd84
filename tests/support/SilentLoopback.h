#pragma once

#include <QString>

// A network of its own for the calling thread, loopback up, in which echo requests go
// unanswered: a real ping of a loopback address there gets no reply, and no packet can
// leave the machine. Programs the thread starts meanwhile (ping) share it. The thread's
// network is given back when the object goes. Needs the right to make a network namespace
// (root); isActive() says whether it was made, error() why not.
class SilentLoopback
{
public:
    SilentLoopback();
    ~SilentLoopback();
    SilentLoopback(const SilentLoopback &) = delete;
    SilentLoopback &operator=(const SilentLoopback &) = delete;

    bool isActive() const { return m_entered && m_error.isEmpty(); }
    QString error() const { return m_error; }

private:
    void fail(const QString &what);

    int m_previous = -1;
    bool m_entered = false;
    QString m_error;
};
