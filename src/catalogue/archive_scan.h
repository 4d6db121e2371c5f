#pragma once
// Games inside .zip and .7z archives: each archive of an emulator's folder that
// holds a file for that emulator is listed like a ROM, under its own name.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/archive_cache.h"
#include "catalogue/main_window_state.h"
#include "catalogue/rom_scan.h"

namespace valmerin {

// The game among an archive's files: the first pattern of the emulator that any
// file matches, the first such file in name order. nullopt when none does.
std::optional<std::string> ChooseGameInArchive(Emulator emulator,
                                               const std::vector<std::string>& files);

// Adds to each available emulator's list the archives its folder's scan listed
// (`listed`) that hold a game, noting that game in `games`. Unchanged archives are
// answered from `cache`, the others are read and remembered there. True when ZSnes
// got one.
bool ScanArchivesInto(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games,
                      const std::array<std::string, kEmulatorCount>& folders,
                      const ListedArchives& listed, const Descriptions& descriptions,
                      const std::array<bool, kEmulatorCount>& available, ArchiveCache& cache);

// The same with the data folder's cache, loaded before and saved after.
bool ScanArchivesWithCache(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games,
                           const std::array<std::string, kEmulatorCount>& folders,
                           const ListedArchives& listed, const Descriptions& descriptions,
                           const std::array<bool, kEmulatorCount>& available);

// The file inside the archive an entry of that emulator's list was made from;
// nullptr for a bare ROM.
const std::string* GameInsideArchive(const MainWindowState& state, Emulator emulator,
                                     const std::string& file);

}  // namespace valmerin
