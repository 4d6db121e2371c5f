#pragma once
#include <string>
#include <string_view>

#include "catalogue/main_window_state.h"

namespace valmerin {

// The game file behind entry `entry` of a list: the file the entry was made from,
// never one guessed back from the text it shows (two games may share a
// description, and a description may name another game's file).
std::string GameFileOf(const MainWindowState& state, Emulator list, std::size_t entry);

}  // namespace valmerin
