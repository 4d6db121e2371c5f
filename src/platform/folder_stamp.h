#pragma once
// What a folder is and when it last changed, cheap to take: a check every few
// seconds notices a folder renamed away, replaced by a link or another folder,
// or changed where the system's change notices are not to be had.
#include <cstdint>
#include <filesystem>

namespace valmerin {

struct FolderStamp {
  bool exists = false;
  bool link = false;  // the name itself is a link
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t changed = 0;  // last change of its entries, in nanoseconds
  bool operator==(const FolderStamp&) const = default;
};

FolderStamp FolderStampOf(const std::filesystem::path& folder);

}  // namespace valmerin
