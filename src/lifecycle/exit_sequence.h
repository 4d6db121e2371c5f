#pragma once
#include <string>
#include <vector>

#include "catalogue/main_window_state.h"
#include "options/options_model.h"

namespace valmerin {

// Gives back the files of every game whose emulator has ended and removes its
// copy (one still running is left to the next start), then writes the four
// settings files, except those that could not be read at start and those of
// emulators switched off whose options were not changed. Returns the settings
// files that could not be written. `message`, when
// given, receives the one Italian text naming each file kept as it was and why
// (empty when every file was written). The windows are closed by the caller.
std::vector<std::string> RunExitSequence(MainWindowState& state, const OptionsModel& options,
                                         std::string* message = nullptr);

}  // namespace valmerin
