#pragma once
// The main window's state as a plain object of the core: Form1 shows it and owns
// no second copy.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/archive_games.h"
#include "catalogue/descriptions.h"
#include "catalogue/emulator_table.h"
#include "catalogue/game_list.h"
#include "catalogue/record_file.h"
#include "launch/game_copies.h"

namespace valmerin {

inline constexpr int kSettingsBufferSize = 47;
using SettingsBuffer = std::array<FieldValue, kSettingsBufferSize>;

struct MainWindowState {
  std::array<std::string, kEmulatorCount> EmulatorFolder;  // tab order
  Descriptions descriptions;
  GameLists gameLists;            // List1, List2, List3, List6
  std::string Text1;              // "Nome reale del gioco:"
  std::array<ArchiveGames, kEmulatorCount> archiveGames;  // the game inside each listed archive
  SettingsBuffer settingsBuffer;  // shared by the four settings readings, never cleared
  GameCopies copies;              // what the launches put under the copy names
  // Files of ours that exist but could not be read at start: never written over.
  std::vector<std::string> unreadableAtStart;
  // For each emulator whose settings file was not read at start (switched off):
  // the record its controls made then. Unchanged at exit, the file is left alone.
  std::array<std::optional<std::vector<RecordValue>>, kEmulatorCount> settingsNotRead;
};

}  // namespace valmerin
