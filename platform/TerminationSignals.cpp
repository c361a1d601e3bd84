#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// Read by the handler: a lock-free atomic is async-signal-safe.
std::atomic<int> writeFd {-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free fd");
}

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (writeFd.load() >= 0 || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeFd.store(pipeFds[1]);
    notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);

    struct sigaction action {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed = true;
    for (int number : kSignals)
        installed = ::sigaction(number, &action, nullptr) == 0 && installed;
}

TerminationSignals::~TerminationSignals()
{
    if (pipeFds[0] < 0)
        return;
    restoreDefaults();
    writeFd.store(-1);
    delete notifier;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

void TerminationSignals::handle(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = writeFd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // A full pipe already holds a request; nothing is lost by dropping this one.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

void TerminationSignals::restoreDefaults()
{
    for (int number : kSignals)
        ::signal(number, SIG_DFL);
}

void TerminationSignals::onReadable()
{
    unsigned char byte = 0;
    int signalNumber = 0;
    while (::read(pipeFds[0], &byte, 1) == 1)
        signalNumber = byte;
    if (signalNumber == 0)
        return;
    // The close path may wait for devices; a second signal must still end the process.
    restoreDefaults();
    notifier->setEnabled(false);
    emit terminationRequested(signalNumber);
}
