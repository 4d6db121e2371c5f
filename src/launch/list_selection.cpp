#include "launch/list_selection.h"

namespace valmerin {

std::string FindGameFile(const MainWindowState& state, Emulator list,
                         std::string_view selectedEntry) {
  std::string gameFile = state.descriptions.WalkBackToFileName(selectedEntry);
  // Only the ZSnes list falls back to the entry itself when the walk ends on
  // nothing usable; the other lists keep what the walk gave.
  if (list == Emulator::ZSnes && (gameFile.empty() || gameFile == " ")) {
    gameFile = std::string(selectedEntry);
  }
  return gameFile;
}

std::string GameFileOf(const MainWindowState& state, Emulator list, std::size_t entry) {
  const GameList& games = state.gameLists[IndexOf(list)];
  if (entry >= games.size()) return {};
  return std::string(games.File(entry));
}

}  // namespace valmerin
