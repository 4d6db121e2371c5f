#pragma once
// The settings files read from any bytes, every emulator available. What the
// program then writes is one line of the record's field count, and reading that
// and writing again gives the same bytes (a file refused is refused both times).
#include <array>
#include <vector>

#include "catalogue/emulator_table.h"
#include "catalogue/main_window_state.h"
#include "options/options_model.h"
#include "options/settings_files.h"
#include "options/settings_records.h"
#include "platform/text_codec.h"
#include "fuzz_support.h"

namespace valmerin::fuzz {

inline void RemoveSettingsFiles() {
  for (const EmulatorInfo& info : EmulatorTable()) RemoveFiles({info.settingsFile});
}

inline std::vector<std::string> ReadSettingsAndWriteBack(std::array<std::string, kEmulatorCount>& files) {
  OptionsModel options;
  options.RunWindowStartup();
  SettingsBuffer buffer;
  ReadSettingsFiles(options, buffer, {true, true, true, true});
  std::vector<std::string> failed;
  for (const KeptFile& kept : SaveSettingsFiles(options, {})) failed.push_back(kept.file);
  for (const EmulatorInfo& info : EmulatorTable()) {
    files[IndexOf(info.emulator)] = ReadFileBytes(info.settingsFile).value_or("<missing>");
  }
  return failed;
}

inline void RequireOneRecord(const EmulatorInfo& info, const std::string& bytes) {
  Require(bytes.size() >= 2 && bytes.find("\r\n") == bytes.size() - 2,
          "a settings file is not exactly one line");
  FieldReader reader(DecodeCp1252(bytes));
  std::size_t count = 0;
  for (FieldValue field; reader.ReadField(field);) ++count;
  Require(count == SettingsRecordOf(info.emulator).size(),
          "a settings file does not hold its record's field count");
}

inline void SettingsFilesTarget(const std::uint8_t* data, std::size_t size) {
  RemoveSettingsFiles();
  for (const EmulatorInfo& info : EmulatorTable()) WriteFileBytes(info.settingsFile, AsBytes(data, size));

  std::array<std::string, kEmulatorCount> first;
  const std::vector<std::string> failedFirst = ReadSettingsAndWriteBack(first);
  for (const EmulatorInfo& info : EmulatorTable()) {
    const bool refused = std::find(failedFirst.begin(), failedFirst.end(),
                                   std::string(info.settingsFile)) != failedFirst.end();
    const std::string& bytes = first[IndexOf(info.emulator)];
    if (refused) {
      Require(bytes == AsBytes(data, size), "a refused settings file was changed");
    } else {
      RequireOneRecord(info, bytes);
    }
  }

  std::array<std::string, kEmulatorCount> second;
  const std::vector<std::string> failedSecond = ReadSettingsAndWriteBack(second);
  Require(failedFirst == failedSecond, "the second writing refused other files");
  Require(first == second, "settings written, read and written again changed");
  RemoveSettingsFiles();
}

}  // namespace valmerin::fuzz
