#include "support/SilentLoopback.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

SilentLoopback::SilentLoopback()
{
    // The thread's own namespace, not the process's: only this thread moves.
    m_previous = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    if (m_previous < 0) {
        fail(QStringLiteral("open /proc/thread-self/ns/net"));
        return;
    }
    if (::unshare(CLONE_NEWNET) != 0) {
        fail(QStringLiteral("unshare(CLONE_NEWNET)"));
        return;
    }
    m_entered = true;
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        fail(QStringLiteral("socket"));
        return;
    }
    ifreq request {};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(probe, SIOCGIFFLAGS, &request) == 0;
    if (up) {
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        up = ::ioctl(probe, SIOCSIFFLAGS, &request) == 0;
    }
    if (!up)
        fail(QStringLiteral("setting loopback up"));
    ::close(probe);
    if (!up)
        return;
    // The sysctl file answers for the namespace of the thread that opens it.
    QFile ignore(QStringLiteral("/proc/sys/net/ipv4/icmp_echo_ignore_all"));
    if (!ignore.open(QIODevice::WriteOnly) || ignore.write("1\n") != 2 || !ignore.flush())
        m_error = QStringLiteral("icmp_echo_ignore_all: %1").arg(ignore.errorString());
}

SilentLoopback::~SilentLoopback()
{
    if (m_entered)
        ::setns(m_previous, CLONE_NEWNET);
    if (m_previous >= 0)
        ::close(m_previous);
}

void SilentLoopback::fail(const QString &what)
{
    m_error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}
