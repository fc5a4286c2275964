// How the process's heap gives freed memory back to the system.
#include "platform/sys/ProcessMemory.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace lb {

void returnLargeBlocksToSystem()
{
#ifdef __GLIBC__
    // A threshold set by hand stays where it is: the library no longer raises it.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

} // namespace lb
