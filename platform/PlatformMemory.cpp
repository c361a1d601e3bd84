#include "platform/PlatformMemory.h"

// Any C library header defines __GLIBC__ on glibc; without one the test below is always false.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void PlatformMemory::releaseFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
