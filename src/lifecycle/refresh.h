#pragma once
// Refresh: the lists made again as the next start would make them, while the
// program runs (F5, a changed ROM folder, OK in the options window).
#include <array>
#include <string>

#include "catalogue/main_window_state.h"

namespace valmerin {

using Available = std::array<bool, kEmulatorCount>;  // tab order

// The folders and availability as the start-up reads them from their files.
struct RunSetup {
  std::array<std::string, kEmulatorCount> folders;
  Available available{};
  bool operator==(const RunSetup&) const = default;
};
RunSetup ReadRunSetup();

struct RefreshOutcome {
  std::array<bool, kEmulatorCount> listChanged{};  // tab order
};

// Reloads the descriptions and scans the folders of `setup` again. A list whose
// files and shown texts come out as before is left untouched, so what an emulator
// writes beside its games (saves, screenshots) changes nothing; no game copy is
// ever listed. The scan's failure messages belong to start-up
// and are not shown.
RefreshOutcome RefreshLists(MainWindowState& state, const RunSetup& setup);

}  // namespace valmerin
