#pragma once
#include <string>
#include <vector>

#include "catalogue/game_list.h"

namespace valmerin::testing {

// A list's shown texts in list order, for comparing a whole list in one assertion.
inline std::vector<std::string> ShownTexts(const GameList& list) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < list.size(); ++i) texts.emplace_back(list.Shown(i));
  return texts;
}

}  // namespace valmerin::testing
