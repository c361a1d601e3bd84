#pragma once

#include <QElapsedTimer>

// The single-shot wait of a polling worker: the wait before a channel's result is read and
// the pause between passes in cycle mode. It belongs to the worker thread alone, and the
// work loop polls it on every turn; a wait can therefore never be started or stopped from
// another thread, nor fire after a restart has cleared it.
class MeasurementDeadline
{
public:
    // Arms the wait anew; a negative interval counts as 0.
    void start(int intervalMs);
    void stop();
    bool isActive() const;
    int interval() const;
    // True once, on the first call after the armed wait has run out; the wait is then
    // inactive.
    bool takeExpiry();

private:
    QElapsedTimer clock;
    int intervalMs = 0;
    bool active = false;
};
