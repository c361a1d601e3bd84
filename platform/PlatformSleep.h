#pragma once

// Stands in for the Windows Sleep call used by the worker pauses and bounded waits.
class PlatformSleep
{
public:
    static void sleepMs(unsigned long milliseconds);
};
