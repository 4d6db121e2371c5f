#include "platform/freed_memory.h"

#include <cstdlib>  // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace valmerin {

void GiveLargeFreedBlocksBack() {
#if defined(__GLIBC__)
  // Setting the threshold also stops glibc from moving it.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

}  // namespace valmerin
