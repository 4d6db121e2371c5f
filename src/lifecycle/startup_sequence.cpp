#include "lifecycle/startup_sequence.h"

#include "catalogue/folder_files.h"
#include "catalogue/rom_scan.h"
#include "launch/copy_journal.h"
#include "lifecycle/unreadable_files.h"
#include "options/options_model.h"
#include "options/settings_files.h"

namespace valmerin {

void RunStartupSequence(MainWindowState& state, OptionsModel& options, WindowHooks& hooks) {
  // What a killed run left goes first, so the scan never lists it as a game.
  for (std::string& left : RemoveJournalledCopies()) state.copiesMade.push_back(std::move(left));
  state.unreadableAtStart = FindUnreadableFiles();
  if (!state.unreadableAtStart.empty()) {
    hooks.ShowMessage(UnreadableFilesNotice(state.unreadableAtStart));
  }

  Folders folders;
  Availability availability;  // unset: not available
  if (ReadFolderFile(folders)) ReadAvailabilityFile(availability);
  ApplyDefaultFolders(folders);
  state.EmulatorFolder = folders;

  options.RunWindowStartup();
  for (Emulator emulator : kFolderFileOrder) {
    options.SetText(InfoOf(emulator).folderTextBox, folders[IndexOf(emulator)]);
  }

  std::array<bool, kEmulatorCount> available{};
  for (int i = 0; i < kEmulatorCount; ++i) available[i] = IsAvailable(availability[i]);

  ReadSettingsFiles(options, state.settingsBuffer, available);
  for (Emulator emulator : kTabOrder) {
    const int i = IndexOf(emulator);
    state.settingsNotRead[i].reset();
    if (!available[i]) state.settingsNotRead[i] = SettingsRecordValues(options, emulator);
  }
  state.descriptions = ReadDescriptions();
  if (!ScanRomFolders(state, available)) ScanFailure(hooks);

  for (Emulator emulator : kTabOrder) {
    if (!available[IndexOf(emulator)]) hooks.SwitchOffTab(InfoOf(emulator).tabIndex);
  }
}

}  // namespace valmerin
