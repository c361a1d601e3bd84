#include "platform/SocketLayer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

namespace {
std::atomic<int> g_socket{-1};
std::atomic<int> g_port{0};
}

bool SocketLayer::start()
{
    if (g_socket.load() >= 0)
        return true;
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof addr;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0)
        g_port.store(ntohs(addr.sin_port));
    int expected = -1;
    if (!g_socket.compare_exchange_strong(expected, fd)) {
        ::close(fd);
    }
    return true;
}

void SocketLayer::stop()
{
    const int fd = g_socket.exchange(-1);
    if (fd >= 0)
        ::close(fd);
    g_port.store(0);
}

bool SocketLayer::isStarted()
{
    return g_socket.load() >= 0;
}

int SocketLayer::boundPort()
{
    return g_port.load();
}
