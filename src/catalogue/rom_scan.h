#pragma once
#include <array>
#include <string>

#include "catalogue/main_window_state.h"
#include "catalogue/window_hooks.h"

namespace valmerin {

// Fills the game list of every available emulator (tab order) from its folder,
// each entry resolved through the descriptions; the names a launch reserves
// (copy_names.h) are never listed. Returns false when the ZSnes
// folder yielded no ROM for any of its patterns; the other emulators are scanned
// in every case.
bool ScanRomFolders(MainWindowState& state, const std::array<bool, kEmulatorCount>& available);

// The same scan into empty `lists`.
bool ScanInto(GameLists& lists, const std::array<std::string, kEmulatorCount>& folders,
              const Descriptions& descriptions, const std::array<bool, kEmulatorCount>& available);

// The three messages, then the options window.
void ScanFailure(WindowHooks& hooks);

}  // namespace valmerin
