#pragma once
// Whole-file operations. Each opens, does its work and closes: no file stays open.
// Only ordinary files are opened: anything else counts as missing when read and
// is refused when written.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_error.h"

namespace valmerin {

struct ReadResult {
  std::optional<std::string> bytes;
  // Missing (also for anything but an ordinary file) or Unreadable (it is there,
  // the system will not let us read it).
  FileError error = FileError::None;
};
ReadResult ReadFileBytes(const std::filesystem::path& path);
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// An ordinary file (links followed) that exists but cannot be opened for reading.
bool ExistsButUnreadable(const std::filesystem::path& path);

// What a write does with a symbolic link at the file's name. A user's own link
// is written through when the file it leads to lies in the link's own folder or
// below it; a link leading anywhere else is refused (LinkOutside), so a folder
// someone hands over can never make us write the user's other files. The copy
// journal is never written through a link (NotRegular).
enum class LinkRule { InsideItsFolder, Never };

// Writes a temporary file of a name no other write uses, in the folder of the
// file that is replaced, syncs it and renames it over the file. A read-only file,
// a folder or a special file is refused. A failure leaves the old file exactly as
// it was.
FileResult ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                 LinkRule rule = LinkRule::InsideItsFolder);

// Appends after the last byte; creates the file when it is missing. On any failure
// the file is cut back to the size it had, so it never ends in half a write.
FileResult AppendToFile(const std::filesystem::path& path, std::string_view bytes,
                        LinkRule rule = LinkRule::InsideItsFolder);

// A temporary name beside `path`, different for every call and every process.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& path);
bool IsTemporaryName(std::string_view fileName);
// What a temporary name stands for: the name it will replace, and the number of
// the process that made it (nothing for any other name).
std::string_view NameBeforeTemporary(std::string_view fileName);
std::optional<std::uint64_t> TemporaryOwner(std::string_view fileName);
// The last step of every whole-file write, the replace and the copy alike: the
// finished temporary takes the target's place (retried while a scanner holds the
// target on Windows; elsewhere the folder is synced, so the rename outlives a
// crash). On failure the temporary stays: the caller removes it.
FileError MoveIntoPlace(const std::filesystem::path& temporary,
                        const std::filesystem::path& target);
void RemoveTemporaryFile(const std::filesystem::path& temporary);

// Bytes copied so far and the whole size; false stops the copy.
using CopyProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Copies `from` to `temporary` (a new file, writable by its owner and readable by
// no one who cannot read `from`) and renames it over `to`: `to` is then a new file, never the old
// one rewritten. `to` must be missing or an ordinary file, never a link. On failure or cancel
// neither the temporary nor any part of the copy is left.
FileResult CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                              const std::filesystem::path& temporary,
                              const CopyProgress& progress = {});

// What a copy may replace: nothing, or an ordinary file (never a link or a folder).
// NotRegular otherwise.
FileError CheckCopyDestination(const std::filesystem::path& to);

// Deletes an ordinary file; a link, a folder or anything else is left alone.
bool DeleteRegularFile(const std::filesystem::path& path);

bool IsRegularFile(const std::filesystem::path& path);
// Whether anything, even a dangling link, stands at `path`.
bool AnythingAt(const std::filesystem::path& path);

}  // namespace valmerin
