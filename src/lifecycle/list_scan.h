#pragma once
#include <array>

#include "catalogue/main_window_state.h"

namespace valmerin {

// The descriptions read again and every available emulator's folder scanned into
// `lists`: its ROMs, then its archives, from one listing. The descriptions file
// loads on a second thread while the first folder is listed. True unless ZSnes is
// available and has neither a ROM nor an archive.
bool LoadAndScan(MainWindowState& state, GameLists& lists,
                 const std::array<bool, kEmulatorCount>& available);

}  // namespace valmerin
