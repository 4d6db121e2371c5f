#pragma once

namespace valmerin {

// Large blocks (a folder's listing, the descriptions file as read) go back to the
// system when freed. By default glibc raises its threshold for that to the size
// of the largest block freed so far, so after the descriptions file every
// listing grows inside the heap and leaves holes the process keeps resident.
// Called once, first thing in main; nothing to do elsewhere.
void GiveLargeFreedBlocksBack();

// The memory pages wholly inside [begin, end), which the caller will never read
// again, leave the process's resident memory (on Linux; elsewhere nothing goes):
// for a large buffer read once from front to back. Returns where what went ends
// (`begin` when nothing did), for the next call to start from.
const char* ForgetReadPages(const char* begin, const char* end);

}  // namespace valmerin
