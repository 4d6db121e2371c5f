#include "platform/freed_memory.h"

#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace valmerin {

void GiveLargeFreedBlocksBack() {
#if defined(__GLIBC__)
  // Setting the threshold also stops glibc from moving it.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

const char* ForgetReadPages(const char* begin, const char* end) {
#if defined(__linux__)
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  // Only whole pages: the ones at either end may hold bytes still in use (the
  // allocator's own bookkeeping among them).
  const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page;
  const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) / page * page;
  if (last <= first) return begin;
  // Private memory: the pages come back as zeros if ever touched, which nobody does.
  if (madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED) != 0) return begin;
  return begin + (last - reinterpret_cast<std::uintptr_t>(begin));
#else
  (void)end;
  return begin;
#endif
}

}  // namespace valmerin
