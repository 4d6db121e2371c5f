#pragma once
// The description walks done the plain way, record by record in file order: the
// reference the indexed walks must agree with (tests, fuzzing) and the yardstick
// they are timed against (benchmarks).
#include <string>
#include <string_view>

#include "catalogue/descriptions.h"

namespace valmerin::reference {

inline std::string PlainResolveGameName(const Descriptions& descriptions,
                                        std::string_view fileName) {
  std::string current(fileName);
  for (std::size_t i = 0; i < descriptions.Count(); ++i) {
    if (descriptions.Key(i) == current) current = descriptions.Text(i);
  }
  return current;
}

inline std::string PlainWalkBackToFileName(const Descriptions& descriptions,
                                           std::string_view shownText) {
  std::string current(shownText);
  for (std::size_t i = descriptions.Count(); i-- > 0;) {
    if (descriptions.Text(i) == current) current = descriptions.Key(i);
  }
  return current;
}

}  // namespace valmerin::reference
