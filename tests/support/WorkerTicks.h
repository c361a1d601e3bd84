#pragma once

#include <QString>

class DeviceList;

// The positive marker of an absence check on a device's polling worker: its thread has
// ticked so many more times, so whatever its flags asked for has had whole turns to show.
class WorkerTicks
{
public:
    // Empty once the worker of the device at index has had ticks more ticks (within
    // timeoutMs); otherwise why not, for the failure message.
    static QString waitFor(const DeviceList *list, int index, int ticks = 3, int timeoutMs = 15000);
};
