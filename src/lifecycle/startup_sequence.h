#pragma once
#include "catalogue/main_window_state.h"
#include "catalogue/window_hooks.h"

namespace valmerin {
class OptionsModel;

// The steps run once when the main window loads: folder file, availability file,
// default folders, what a killed run left under the copy names given back, the
// notice of our files that cannot be read, folders into the options window (whose
// own start-up runs first), settings files, descriptions, ROM scan, archive scan,
// unavailable tabs switched off.
void RunStartupSequence(MainWindowState& state, OptionsModel& options, WindowHooks& hooks);

}  // namespace valmerin
