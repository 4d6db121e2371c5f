#pragma once
// The record-by-record walks the indexed ones replace: every record is compared in
// file order. They are the yardstick for speed and the reference for results.
#include <string>
#include <string_view>

#include "catalogue/descriptions.h"
#include "catalogue/emulator_table.h"
#include "tests/support/plain_walks.h"

namespace valmerin::bench {

using reference::PlainResolveGameName;
using reference::PlainWalkBackToFileName;
// FindGameFile over the plain backward walk, with the ZSnes list's fallback.
std::string PlainFindGameFile(const Descriptions& descriptions, Emulator list,
                              std::string_view selectedEntry);

}  // namespace valmerin::bench
