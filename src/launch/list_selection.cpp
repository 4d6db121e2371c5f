#include "launch/list_selection.h"

namespace valmerin {

std::string GameFileOf(const MainWindowState& state, Emulator list, std::size_t entry) {
  const GameList& games = state.gameLists[IndexOf(list)];
  if (entry >= games.size()) return {};
  return std::string(games.File(entry));
}

}  // namespace valmerin
