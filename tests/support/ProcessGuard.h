#pragma once

#include <sys/types.h>

// Ends every process a test starts when the test process ends, however it ends (failure,
// abort from Qt's function timeout, a crash, SIGKILL). One instance lives in every test
// executable and is made before main(), while the process still has a single thread: the
// test becomes the leader of a process group of its own, which its children and theirs
// (the program, Xvfb, curl, shells) inherit, and a forked guard waits on a pipe only the
// test holds. When the pipe closes the guard kills the whole group. A terminal's interrupt
// reaches the guard, which is still in the terminal's group, and is passed on to the test's.
// Simulated devices leave the group (sessions of their own) and end by their owner PID.
class ProcessGuard
{
public:
    ProcessGuard();
    ProcessGuard(const ProcessGuard &) = delete;
    ProcessGuard &operator=(const ProcessGuard &) = delete;

    // The guard's PID, 0 when none could be started.
    static pid_t guardPid();
    // The process group the guard ends, 0 when none.
    static pid_t guardedGroup();
};
