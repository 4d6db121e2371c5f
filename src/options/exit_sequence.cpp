#include "options/exit_sequence.h"

#include "options/settings_files.h"

namespace valmerin {

std::vector<std::string> RunExitSequence(MainWindowState& state, const OptionsModel& options) {
  state.copiesMade.clear();
  return WriteSettingsFiles(options);
}

}  // namespace valmerin
