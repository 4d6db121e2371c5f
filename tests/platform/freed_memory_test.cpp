// Pages given up after a front-to-back read: only whole pages inside the range go,
// and what the caller may still read stays as it was.
#include "platform/freed_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace valmerin {
namespace {

TEST(FreedMemory, OnlyWholePagesInsideTheRangeAreGivenUp) {
  constexpr std::size_t kPage = 4096;
  std::vector<char> buffer(8 * kPage);
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<char>('a' + i % 26);
  const std::vector<char> before = buffer;
  const char* begin = buffer.data() + 100;
  const char* end = buffer.data() + 5 * kPage + 100;
  const char* gone = ForgetReadPages(begin, end);
  ASSERT_GE(gone, begin);
  ASSERT_LE(gone, end);
  EXPECT_EQ(ForgetReadPages(end - 10, end), end - 10);  // less than a page: nothing
  // Everything outside the whole pages that went is untouched.
  const auto firstGone = (reinterpret_cast<std::uintptr_t>(begin) + kPage - 1) / kPage * kPage;
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    const auto at = reinterpret_cast<std::uintptr_t>(buffer.data() + i);
    if (gone > begin && at >= firstGone && at < reinterpret_cast<std::uintptr_t>(gone)) continue;
    ASSERT_EQ(buffer[i], before[i]) << i;
  }
#ifdef __linux__
  EXPECT_GT(gone, begin);  // on Linux whole pages were inside, and they went
#endif
}

}  // namespace
}  // namespace valmerin
