#pragma once
#include <string>
#include <unordered_map>

namespace valmerin {

// One emulator's listed archives: the archive's file name (as the list entry keeps
// it) and the file inside it that is the game.
using ArchiveGames = std::unordered_map<std::string, std::string>;

}  // namespace valmerin
