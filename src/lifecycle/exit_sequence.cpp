#include "lifecycle/exit_sequence.h"

#include <algorithm>

#include "options/settings_files.h"
#include "platform/file_io.h"
#include "platform/host_path.h"

namespace valmerin {

std::vector<std::string> RunExitSequence(MainWindowState& state, const OptionsModel& options) {
  std::vector<std::string> copies = state.copiesMade;
  for (const std::string& last : state.gameCopy) copies.push_back(last);
  std::vector<std::string> deleted;
  for (const std::string& copy : copies) {
    if (copy.empty() || std::ranges::find(deleted, copy) != deleted.end()) continue;
    DeleteRegularFile(ToHostPath(copy));  // a copy already gone is no failure
    deleted.push_back(copy);
  }
  state.copiesMade.clear();
  return WriteSettingsFiles(options);
}

}  // namespace valmerin
