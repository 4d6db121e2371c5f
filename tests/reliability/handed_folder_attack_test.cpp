// A data folder someone hands over, with links at our file names and game names
// that spell a way out: a whole run on it (start, launch, options, description,
// exit) changes nothing outside the data folder and its emulator folders.
#ifndef _WIN32
#include "catalogue/descriptions.h"
#include "catalogue/folder_files.h"
#include "handed_folder.h"
#include "launch/game_launch.h"
#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"

namespace valmerin::testing {
namespace {

using HandedFolderAttackLinks = HandedFolderTest;

// Start-up, a launch of `game`, OK in the options window, a description, exit.
LaunchOutcome WholeRun(const std::string& game) {
  MainWindowState state;
  OptionsModel options;
  RecordingHooks hooks;
  RunStartupSequence(state, options, hooks);
  state.Text1 = game;
  LaunchOutcome launched = LaunchGame(state, Emulator::ZSnes);
  Folders folders;
  for (int i = 0; i < kEmulatorCount; ++i) folders[i] = state.EmulatorFolder[i];
  WriteFolderFile(folders);
  AppendDescription(game, "Una descrizione");
  RunExitSequence(state, options);
  return launched;
}

TEST_F(HandedFolderAttackLinks, LinksAtOurNamesNeverWriteOutside) {
  struct Case {
    const char* name;  // one of our files
    const char* leadsTo;
  };
  const Case cases[] = {
      {"Copie.valmerin", "../../.bashrc"},
      {"zsnes.config.valmerin", "../../.bashrc"},
      {"kgen.config.valmerin", "../../Documenti/lettera.txt"},
      {"Cartelle.cfg", "../../.profile"},
      {"Descrizioni.emu", "../../ultima-lettera"},
      {"Disponibili.emu", "../../.profile"},
      {"parametri", "../../.bashrc"},
      {"nesticle.config.valmerin", "../../Documenti/nuovo.txt"},
      {"pcengine.config.valmerin", "HOME_ABSOLUTE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : fs::directory_iterator(data_)) fs::remove_all(entry.path());
    fs::create_directories("zs");
    MakeStandIn("zs/ZSnes.exe");
    WriteBytes("zs/Mario.smc", "mario");
    if (std::string(c.name) != "Cartelle.cfg") WriteBytes("Cartelle.cfg", "\"zs/\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    if (std::string(c.name) != "Disponibili.emu") WriteBytes("Disponibili.emu", "1,0,0,0\r\n");
    const std::string target = std::string(c.leadsTo) == "HOME_ABSOLUTE"
                                   ? (home_ / ".bashrc").string()
                                   : std::string(c.leadsTo);
    fs::create_symlink(target, c.name);
    WholeRun("Mario.smc");
    EXPECT_TRUE(fs::is_symlink(c.name));
    ExpectHomeUntouched();
  }
}

using HandedFolderAttackNames = HandedFolderTest;

// A game name holding "\" and ".." is a name: the launch copies that very file
// from the emulator's folder, or nothing, never a file the name spells elsewhere.
TEST_F(HandedFolderAttackNames, AGameIsReachedByItsOwnNameInItsOwnFolder) {
  struct Case {
    const char* game;
    bool aFolderBeside;
  };
  const Case cases[] = {
      {"a\\..\\..\\..\\Fuori.smc", true},
      {"x\\..\\..\\Fuori.smc", false},
      {"Cartella\\Gioco Zip.smc", false},
      {"a\\..\\Mario.smc", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.game);
    for (const auto& entry : fs::directory_iterator(data_)) fs::remove_all(entry.path());
    fs::create_directories("zs");
    MakeStandIn("zs/ZSnes.exe");
    WriteBytes("zs/Mario.smc", "mario");
    if (c.aFolderBeside) fs::create_directories("zs/a");
    WriteBytes(fs::path("zs") / c.game, "il gioco listato");
    WriteBytes("Cartelle.cfg", "\"zs/\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    WriteBytes("Disponibili.emu", "1,0,0,0\r\n");
    MainWindowState state;
    OptionsModel options;
    RecordingHooks hooks;
    RunStartupSequence(state, options, hooks);
    ASSERT_TRUE(state.gameLists[IndexOf(Emulator::ZSnes)].FindFile(c.game)) << "not listed";
    state.Text1 = c.game;
    const LaunchOutcome launched = LaunchGame(state, Emulator::ZSnes);
    ASSERT_TRUE(launched.started) << launched.message;
    EXPECT_EQ(ReadBytes("zs/Gioco.smc"), "il gioco listato");
    EXPECT_EQ(ReadBytes("zs/Mario.smc"), "mario");
    RunExitSequence(state, options);
    ExpectHomeUntouched();
  }
}

}  // namespace
}  // namespace valmerin::testing
#endif
