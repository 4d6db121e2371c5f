#pragma once
#include <string>
#include <string_view>

#include "catalogue/main_window_state.h"

namespace valmerin {

// The game file behind a shown list entry (the backward walk over the
// descriptions, with the ZSnes list's rule for an empty or one-blank result).
std::string FindGameFile(const MainWindowState& state, Emulator list, std::string_view selectedEntry);

}  // namespace valmerin
