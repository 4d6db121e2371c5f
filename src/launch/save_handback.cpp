#include "launch/save_handback.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <system_error>

#include "catalogue/copy_names.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/folder_listing.h"
#include "platform/host_path.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// Saves, states and patches are small; anything larger is not what the emulator
// reads at start, and copying it would make the launch wait.
constexpr std::uintmax_t kLargestLent = 16u << 20;

// Files that sit beside games under their names and are never an emulator's.
constexpr std::array<std::string_view, 27> kNeverLent = {
    "zip", "7z",  "rar", "gz",  "bz2", "xz",  "tar", "lzh",  "arj", "mp4", "avi", "mkv", "mov", "wmv",
    "mpg", "mp3", "wav", "ogg", "jpg", "jpeg", "png", "gif", "bmp", "pdf", "doc", "nfo", "htm"};

bool NeverLent(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view ending = name.substr(dot + 1);
  return std::ranges::any_of(kNeverLent,
                             [&](std::string_view never) { return EqualsIgnoringCase(ending, never); });
}

// Names as the folder stores them (`stem` too, from a host path), so a name in
// another code page is matched and reached as it is.
struct Entry {
  std::string name;  // as text, for the list
  std::string stored;
  bool regular = false;
};

std::vector<Entry> EntriesWithStem(const fs::path& folder, std::string_view stem) {
  std::vector<Entry> entries;
  ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
    if (HasStem(entry.stored, stem) && !IsTemporaryName(entry.stored)) {
      entries.push_back({std::string(entry.name), std::string(entry.stored), entry.regularFile});
    }
  });
  return entries;
}

bool SameBytes(const fs::path& a, const fs::path& b) {
  std::error_code error;
  const auto sizeA = fs::file_size(a, error);
  if (error) return false;
  const auto sizeB = fs::file_size(b, error);
  if (error || sizeA != sizeB || sizeA > kLargestLent) return false;
  const std::optional<std::string> bytesA = ReadWholeFile(a);
  const std::optional<std::string> bytesB = ReadWholeFile(b);
  return bytesA && bytesB && *bytesA == *bytesB;
}

std::int64_t WrittenAt(const fs::path& path) {
  std::error_code error;
  const auto written = fs::last_write_time(path, error);
  if (error) return 0;
  // The file clock's epoch is the system's business: go through "now" on both.
  const auto sinceEpoch = (written - fs::file_time_type::clock::now()) +
                          std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
}

}  // namespace

std::vector<LentFile> FilesToLend(const fs::path& folder, std::string_view gameStem,
                                  std::string_view copyStem,
                                  const std::function<bool(std::string_view)>& isGame) {
  std::vector<LentFile> lent;
  for (const Entry& entry : EntriesWithStem(folder, gameStem)) {
    if (!entry.regular || IsCopyName(entry.stored) || isGame(entry.name) || NeverLent(entry.name))
      continue;
    const fs::path original = folder / PathFromUtf8(entry.stored);
    std::error_code error;
    const auto size = fs::file_size(original, error);
    if (error || size > kLargestLent) continue;
    const std::string lentName = std::string(copyStem) + entry.stored.substr(gameStem.size());
    lent.push_back({Utf8FromPath(folder / PathFromUtf8(lentName)), Utf8FromPath(original), {}});
  }
  return lent;
}

std::vector<std::pair<std::string, std::string>> MoveAsideForeign(
    const fs::path& folder, std::string_view copyStem,
    const std::function<bool(const fs::path&)>& ours) {
  std::vector<std::pair<std::string, std::string>> moved;
  for (const Entry& entry : EntriesWithStem(folder, copyStem)) {
    const fs::path path = folder / PathFromUtf8(entry.stored);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    // A folder stays; a link is renamed, never followed.
    if (error || !(fs::is_regular_file(status) || fs::is_symlink(status)) || ours(path)) continue;
    const std::string head = entry.stored.substr(0, copyStem.size());
    const std::string tail = entry.stored.substr(copyStem.size());
    for (int number = 1; number < 100; ++number) {
      const std::string mark = number == 1 ? " (file di un gioco sconosciuto)"
                                           : " (file di un gioco sconosciuto " +
                                                 std::to_string(number) + ")";
      const fs::path aside = folder / PathFromUtf8(head + mark + tail);
      if (AnythingAt(aside)) continue;
      fs::rename(path, aside, error);
      if (!error) moved.emplace_back(entry.name, entry.name.substr(0, copyStem.size()) + mark +
                                                     entry.name.substr(copyStem.size()));
      break;
    }
  }
  return moved;
}

std::vector<std::string> HandBack(const JournalRun& run) {
  std::vector<std::string> problems;
  const fs::path copy = PathFromUtf8(run.copy);
  const std::string copyStem(StemOf(Utf8FromPath(copy.filename())));
  const std::string gameStem(StemOf(Utf8FromPath(PathFromUtf8(run.game).filename())));
  for (const std::string& folderText : run.folders) {
    const fs::path folder = PathFromUtf8(folderText);
    for (const Entry& entry : EntriesWithStem(folder, copyStem)) {
      const fs::path path = folder / PathFromUtf8(entry.stored);
      if (!entry.regular || EqualsIgnoringCase(Utf8FromPath(path), run.copy)) continue;
      // A game at a copy name is never a game's own file.
      if (IsGameName(kTabOrder[static_cast<std::size_t>(run.emulator)], entry.name)) continue;
      const auto lent = std::ranges::find_if(run.lent, [&](const LentFile& file) {
        return EqualsIgnoringCase(file.path, Utf8FromPath(path));
      });
      fs::path target;
      if (lent != run.lent.end()) {
        target = PathFromUtf8(lent->original);
        if (StillTheFile(lent->identity, path) || SameBytes(path, target)) {
          DeleteRegularFile(path);
          continue;
        }
      } else {
        // Older than the launch: not the emulator's, and not ours to give to this game.
        if (WrittenAt(path) + 2 < run.started) continue;
        // The game's file in the spelling it already has there.
        const std::string name = gameStem + entry.stored.substr(copyStem.size());
        target = FindInFolder(folder, name).value_or(folder / PathFromUtf8(name));
        if (SameBytes(path, target)) {
          DeleteRegularFile(path);
          continue;
        }
      }
      std::error_code error;
      const fs::file_status there = fs::symlink_status(target, error);
      FileError moved = FileError::NotRegular;
      if (!fs::exists(there) || fs::is_regular_file(there)) {
        FlushFile(path);
        moved = MoveIntoPlace(path, target);
      }
      if (moved != FileError::None) {
        problems.push_back("\"" + Utf8FromPath(path) + "\" non è stato riportato su \"" +
                           Utf8FromPath(target) + "\": " +
                           (moved == FileError::NotRegular
                                ? std::string("al suo posto c'è un collegamento o una cartella")
                                : std::string(DescribeFileError(moved))) +
                           "; è rimasto dov'era.");
      }
    }
  }
  return problems;
}

}  // namespace valmerin
