#pragma once
// Games packed in .zip and .7z archives: the list of an archive's files, and one
// file taken out whole or not at all, the way a game copy is made.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/file_io.h"

namespace valmerin {

struct ArchiveListing {
  bool readable = false;           // the list of contents could be read to its end
  std::vector<std::string> files;  // ordinary files, names in UTF-8 as stored (folders kept)
};
ArchiveListing ListArchive(const std::filesystem::path& archive);

// No game of these consoles comes near this; an entry that claims or grows past it
// is a damaged archive or a bomb, never a game.
inline constexpr std::uint64_t kLargestGameInArchive = std::uint64_t{256} << 20;

struct ExtractResult {
  FileError error = FileError::None;
  std::string why;  // Italian, for the user, when it failed
  explicit operator bool() const { return error == FileError::None; }
};

// Takes `entry` (a name ListArchive gave) out of `archive` to `temporary` and
// renames it over `to`. Nothing but `temporary` and `to` is ever written, whatever
// the entry's path holds. It stops at the disk's free space or at `largest`; on
// failure or cancel neither the temporary nor any part of the file is left.
ExtractResult ExtractArchiveEntry(const std::filesystem::path& archive, const std::string& entry,
                                  const std::filesystem::path& to,
                                  const std::filesystem::path& temporary,
                                  const CopyProgress& progress = {},
                                  std::uint64_t largest = kLargestGameInArchive);

// What tells whether a file changed: its size and last write time.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t time = 0;  // in the file system's own ticks
  bool operator==(const FileStamp&) const = default;
};
// nullopt when it is no ordinary file (links followed) or cannot be looked at.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// The part of an entry name after its last "/" or "\".
std::string EntryFileName(const std::string& entry);

}  // namespace valmerin
