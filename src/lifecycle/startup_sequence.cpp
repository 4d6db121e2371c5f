#include "lifecycle/startup_sequence.h"

#include "catalogue/folder_files.h"
#include "catalogue/rom_scan.h"
#include "hosting/path_forms.h"
#include "lifecycle/list_scan.h"
#include "lifecycle/unreadable_files.h"
#include "options/options_model.h"
#include "options/settings_files.h"

namespace valmerin {

void RunStartupSequence(MainWindowState& state, OptionsModel& options, WindowHooks& hooks) {
  Folders folders;
  Availability availability;  // unset: not available
  if (ReadFolderFile(folders)) ReadAvailabilityFile(availability);
  ApplyDefaultFolders(folders);
  // A game's files that a killed run left under the copy names go back first,
  // before anything else looks at those names.
  std::vector<std::filesystem::path> hostFolders;
  for (const std::string& folder : folders) {
    std::error_code error;
    if (!folder.empty())
      hostFolders.push_back(std::filesystem::absolute(ToHostPath(folder), error));
  }
  if (const std::string left = state.copies.Recover(hostFolders); !left.empty()) {
    hooks.ShowMessage(left);
  }
  state.unreadableAtStart = FindUnreadableFiles();
  if (!state.unreadableAtStart.empty()) {
    hooks.ShowMessage(UnreadableFilesNotice(state.unreadableAtStart));
  }

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
  if (!LoadAndScan(state, state.gameLists, available)) ScanFailure(hooks);

  for (Emulator emulator : kTabOrder) {
    if (!available[IndexOf(emulator)]) hooks.SwitchOffTab(InfoOf(emulator).tabIndex);
  }
}

}  // namespace valmerin
