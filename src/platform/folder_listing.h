#pragma once
// One pass over a folder, with what the directory itself tells about each entry.
#include <filesystem>
#include <functional>
#include <string_view>

namespace valmerin {

struct FolderEntry {
  std::string_view name;    // UTF-8: a stored name that is not UTF-8 reads as Windows-1252
  std::string_view stored;  // the bytes the file system holds (UTF-8 on Windows)
  bool regularFile = false;
  bool hidden = false;  // hidden or system on Windows, a leading "." elsewhere
};

// false when the folder cannot be opened. Never throws.
bool ForEachFolderEntry(const std::filesystem::path& folder,
                        const std::function<void(const FolderEntry&)>& visit);

}  // namespace valmerin
