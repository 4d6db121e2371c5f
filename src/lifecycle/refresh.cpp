#include "lifecycle/refresh.h"

#include <utility>
#include <vector>

#include "catalogue/folder_files.h"
#include "lifecycle/list_scan.h"

namespace valmerin {

RunSetup ReadRunSetup() {
  Folders folders;
  Availability availability;
  if (ReadFolderFile(folders)) ReadAvailabilityFile(availability);
  ApplyDefaultFolders(folders);
  RunSetup setup;
  setup.folders = folders;
  for (int i = 0; i < kEmulatorCount; ++i) setup.available[i] = IsAvailable(availability[i]);
  return setup;
}

RefreshOutcome RefreshLists(MainWindowState& state, const RunSetup& setup) {
  state.EmulatorFolder = setup.folders;
  GameLists fresh;
  LoadAndScan(state, fresh, setup.available);
  RefreshOutcome outcome;
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    if (fresh[i].SameEntries(state.gameLists[i])) continue;
    state.gameLists[i].Replace(std::move(fresh[i]));
    outcome.listChanged[i] = true;
  }
  return outcome;
}

}  // namespace valmerin
