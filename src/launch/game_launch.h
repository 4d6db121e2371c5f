#pragma once
#include <memory>
#include <string>
#include <vector>

#include "catalogue/main_window_state.h"
#include "platform/file_io.h"
#include "platform/child_watch.h"

namespace valmerin {

struct LaunchOutcome {
  bool started = false;
  std::string commandLine;            // as designed: the parts joined
  std::string message;                // Italian, for the user, when something went wrong
  std::string notice;                 // Italian, for the user, although it started
  std::shared_ptr<ChildWatch> watch;  // the started emulator: a failure right after, its end
};

// Double-click on a game: switches from "parametri", the game (or the game inside
// a listed archive) copied to folder + "Gioco." + the last three characters of its
// name, its own files lent beside the copy, the emulator started on it.
// A copy that cannot be made, or whose `progress` says stop, does not start the
// emulator and leaves nothing behind.
LaunchOutcome LaunchGame(MainWindowState& state, Emulator emulator,
                         const CopyProgress& progress = {});

// The button bar's plain run of the current tab's emulator (no switches, no game).
// Tab 4 starts nothing.
LaunchOutcome RunEmulator(const MainWindowState& state, int tabIndex);

}  // namespace valmerin
