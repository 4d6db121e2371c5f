#pragma once
// The record-by-record walks the indexed ones replace: every record is compared in
// file order. They are the yardstick for speed and the reference for results.
#include <string>
#include <string_view>

#include "catalogue/descriptions.h"
#include "catalogue/emulator_table.h"

namespace valmerin::bench {

std::string PlainResolveGameName(const Descriptions& descriptions, std::string_view fileName);
std::string PlainWalkBackToFileName(const Descriptions& descriptions, std::string_view shownText);
// FindGameFile over the plain backward walk, with the ZSnes list's fallback.
std::string PlainFindGameFile(const Descriptions& descriptions, Emulator list,
                              std::string_view selectedEntry);

}  // namespace valmerin::bench
