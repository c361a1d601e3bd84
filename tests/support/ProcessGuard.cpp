#include "support/ProcessGuard.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

pid_t g_guard = 0;
pid_t g_group = 0;
volatile sig_atomic_t g_forward = 0;

void rememberSignal(int signal)
{
    g_forward = signal;
}

// The guard's whole life: only async-signal-safe calls, since it was forked from a
// process that may run more than one thread in a sanitizer build. forward: the guard is
// outside the group, so a terminal's interrupt reached it and not the test.
[[noreturn]] void guardMain(int readEnd, pid_t group, bool forward)
{
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        // The test's output pipe (ctest's) is not held a moment longer than the test.
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
    }
    struct sigaction action = {};
    action.sa_handler = forward ? rememberSignal : SIG_IGN;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: read() returns so the signal can be passed on
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        ::sigaction(signal, &action, nullptr);
    char byte;
    for (;;) {
        const ssize_t got = ::read(readEnd, &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR))
            break;
        if (g_forward != 0) {
            ::kill(-group, g_forward);
            g_forward = 0;
        }
    }
    // Last: when the guard shares the group, this ends the guard too.
    ::kill(-group, SIGKILL);
    ::_exit(0);
}

} // namespace

ProcessGuard::ProcessGuard()
{
    const pid_t self = ::getpid();
    // Started from an interactive shell (or by a runner that makes groups) the test leads
    // its group already; otherwise it makes one after the guard has left with the old one.
    const bool leader = ::getpgrp() == self;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[1]);
        guardMain(ends[0], self, !leader);
    }
    ::close(ends[0]);
    if (pid < 0) {
        ::close(ends[1]);
        return;
    }
    if (!leader)
        ::setpgid(0, 0);
    // The write end stays open, never written, until this process is gone.
    g_guard = pid;
    g_group = self;
}

pid_t ProcessGuard::guardPid()
{
    return g_guard;
}

pid_t ProcessGuard::guardedGroup()
{
    return g_group;
}

// Made before main(), with one thread, in every test executable.
static ProcessGuard processGuard;
