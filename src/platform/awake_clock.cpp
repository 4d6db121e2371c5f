#include "platform/awake_clock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace valmerin {

std::uint64_t AwakeMilliseconds() {
#ifdef _WIN32
  // Unbiased: the time spent in sleep or hibernation is left out.
  ULONGLONG hundredNanoseconds = 0;
  QueryUnbiasedInterruptTime(&hundredNanoseconds);
  return hundredNanoseconds / 10000;
#else
  // CLOCK_MONOTONIC stops while the system is suspended (BOOTTIME would not).
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
         static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
#endif
}

}  // namespace valmerin
