#pragma once

// Hands the heap's free memory back to the system, after a large clean-up; the allocator
// keeps it otherwise, and a monitor running for months would stay at its highest size.
class PlatformMemory
{
public:
    static void releaseFreeMemory();
};
