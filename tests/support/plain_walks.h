#pragma once
// The description walk done the plain way, record by record in file order: the
// reference the indexed walk must agree with (tests, fuzzing) and the yardstick it
// is timed against (benchmarks).
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

}  // namespace valmerin::reference
