#include "bench/plain_walks.h"

namespace valmerin::bench {

std::string PlainResolveGameName(const Descriptions& descriptions, std::string_view fileName) {
  std::string current(fileName);
  for (std::size_t i = 0; i < descriptions.Count(); ++i) {
    if (descriptions.Key(i) == current) current = descriptions.Text(i);
  }
  return current;
}

std::string PlainWalkBackToFileName(const Descriptions& descriptions, std::string_view shownText) {
  std::string current(shownText);
  for (std::size_t i = descriptions.Count(); i-- > 0;) {
    if (descriptions.Text(i) == current) current = descriptions.Key(i);
  }
  return current;
}

std::string PlainFindGameFile(const Descriptions& descriptions, Emulator list,
                              std::string_view selectedEntry) {
  std::string gameFile = PlainWalkBackToFileName(descriptions, selectedEntry);
  if (list == Emulator::ZSnes && (gameFile.empty() || gameFile == " ")) {
    gameFile = std::string(selectedEntry);
  }
  return gameFile;
}

}  // namespace valmerin::bench
