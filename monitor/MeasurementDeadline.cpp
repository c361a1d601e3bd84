#include "monitor/MeasurementDeadline.h"

void MeasurementDeadline::start(int newIntervalMs)
{
    intervalMs = newIntervalMs < 0 ? 0 : newIntervalMs;
    clock.start();
    active = true;
}

void MeasurementDeadline::stop()
{
    active = false;
}

bool MeasurementDeadline::isActive() const
{
    return active;
}

int MeasurementDeadline::interval() const
{
    return intervalMs;
}

bool MeasurementDeadline::takeExpiry()
{
    if (!active || clock.elapsed() < intervalMs)
        return false;
    active = false;
    return true;
}
