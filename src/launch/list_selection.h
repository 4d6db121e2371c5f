#pragma once
#include <string>
#include <string_view>

#include "catalogue/main_window_state.h"

namespace valmerin {

// The game file behind a shown list entry (the backward walk over the
// descriptions, with the ZSnes list's rule for an empty or one-blank result).
std::string FindGameFile(const MainWindowState& state, Emulator list,
                         std::string_view selectedEntry);

// The game file behind entry `entry` of a list: the file the entry was made from.
// The walk above reaches the same file wherever it is unambiguous; where it does
// not (two games under one description, a description naming another game's file)
// the entry's own file is the game the user chose.
std::string GameFileOf(const MainWindowState& state, Emulator list, std::size_t entry);

}  // namespace valmerin
