#pragma once
// What a launch copies to the copy name: the ROM itself, or the game taken out of
// a listed archive.
#include <filesystem>
#include <string>

#include "catalogue/main_window_state.h"
#include "platform/archive_reader.h"

namespace valmerin {

struct GameSource {
  std::string listed;  // Text1: the file the list entry was made from
  std::string inside;  // the game inside the archive `listed`; empty for a bare ROM
  // The name whose last three characters end the copy's name: the game's own.
  std::string NameForCopy() const;
};
GameSource GameSourceOf(const MainWindowState& state, Emulator emulator);

// Takes the game `inside` out of `archive` (`archiveText` as the user knows it) to
// `temporary`, then renames it over `to`. On failure `why`, when not empty, is the
// whole message naming the archive.
ExtractResult TakeOutOfArchive(const std::filesystem::path& archive, const std::string& archiveText,
                               const std::string& inside, const std::filesystem::path& to,
                               const std::filesystem::path& temporary,
                               const CopyProgress& progress);

}  // namespace valmerin
