#pragma once
#include <string>
#include <vector>

#include "catalogue/main_window_state.h"
#include "options/options_model.h"

namespace valmerin {

// Deletes every game copy made during the run, then writes the four settings
// files. Returns the settings files that could not be written. The windows are
// closed by the caller.
std::vector<std::string> RunExitSequence(MainWindowState& state, const OptionsModel& options);

}  // namespace valmerin
