#include "platform/PlatformMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void PlatformMemory::releaseFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
