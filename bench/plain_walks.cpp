#include "bench/plain_walks.h"

namespace valmerin::bench {

std::string PlainFindGameFile(const Descriptions& descriptions, Emulator list,
                              std::string_view selectedEntry) {
  std::string gameFile = PlainWalkBackToFileName(descriptions, selectedEntry);
  if (list == Emulator::ZSnes && (gameFile.empty() || gameFile == " ")) {
    gameFile = std::string(selectedEntry);
  }
  return gameFile;
}

}  // namespace valmerin::bench
