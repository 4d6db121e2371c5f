#pragma once
// The four settings files: one record each of control states, read at start-up
// for available emulators, written at exit (one that was not read, only when its
// emulator's options were changed).
#include <array>
#include <string>
#include <vector>

#include "catalogue/emulator_table.h"
#include "catalogue/main_window_state.h"
#include "options/options_model.h"

namespace valmerin {

// `available` in tab order.
void ReadSettingsFiles(OptionsModel& options, SettingsBuffer& buffer,
                       const std::array<bool, kEmulatorCount>& available);

// The record an emulator's settings file would hold, from the controls as they are.
std::vector<RecordValue> SettingsRecordValues(const OptionsModel& options, Emulator emulator);

// A settings file left as it was at exit, and why.
struct KeptFile {
  std::string file;
  FileError why = FileError::Other;  // None: a text of the options cannot be stored
};
// Writes all four files, each atomically, except those named in `keep` (found
// unreadable at start-up, or not read and left unchanged), which are not touched
// at all; every file not written is
// listed with why and left as it was.
std::vector<KeptFile> SaveSettingsFiles(const OptionsModel& options,
                                        const std::vector<std::string>& keep);

// Whether a text typed into an options box can be stored so that it reads back
// unchanged (no double quote, no line break, inside the code page).
bool OptionTextStorable(std::string_view text);

}  // namespace valmerin
