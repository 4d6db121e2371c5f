#pragma once
// What every reliability test needs: the shared fixtures (a fresh current folder,
// the recording window stand-in, the stand-in emulators) and snapshots of what the
// user's files hold.
#include <filesystem>
#include <map>
#include <string>

#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "support/fresh_folder.h"
#include "support/game_end.h"
#include "support/recording_hooks.h"
#include "support/stand_in.h"

namespace valmerin::testing {

namespace fs = std::filesystem;

// Every regular file of the current folder with its bytes; a folder shows as "<folder>".
inline std::map<std::string, std::string> Snapshot() {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(".")) {
    const std::string name = entry.path().filename().string();
    files[name] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
  }
  return files;
}

// The state a start-up over the current folder leaves.
inline MainWindowState StartUp(OptionsModel& options, WindowHooks& hooks) {
  MainWindowState state;
  RunStartupSequence(state, options, hooks);
  return state;
}

}  // namespace valmerin::testing
