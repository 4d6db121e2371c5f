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

// A run of the program on the current folder, with ZSnes as its only emulator.
struct ProgramRun {
  ProgramRun() {
    RecordingHooks hooks;
    RunStartupSequence(state, options, hooks);
  }
  LaunchOutcome Launch(const std::string& game) {
    state.Text1 = game;
    return LaunchGame(state, Emulator::ZSnes);
  }
  void Exit() { RunExitSequence(state, options); }
  MainWindowState state;
  OptionsModel options;
};

// All four emulators on (so all four settings files are read and written), all in
// the one folder "zs".
void WriteCatalogue() {
  std::ofstream("Cartelle.cfg", std::ios::binary) << "\"zs/\"\r\n\"zs/\"\r\n\"zs/\"\r\n\"zs/\"\r\n";
  std::ofstream("Disponibili.emu", std::ios::binary) << "1,1,1,1\r\n";
}

// Start-up, a launch of `game`, OK in the options window, a description, exit.
void WholeRun(const std::string& game) {
  ProgramRun run;
  run.Launch(game);
  WriteFolderFile(run.state.EmulatorFolder);
  AppendDescription(game, "Una descrizione");
  run.Exit();
}

TEST_F(HandedFolderAttackLinks, LinksAtOurNamesNeverWriteOutside) {
  const struct {
    const char* name;  // one of our files
    fs::path leadsTo;
  } cases[] = {
      {"Copie.valmerin", "../../.bashrc"},
      {"zsnes.config.valmerin", "../../.bashrc"},
      {"kgen.config.valmerin", "../../Documenti/lettera.txt"},
      {"Cartelle.cfg", "../../.profile"},
      {"Descrizioni.emu", "../../ultima-lettera"},
      {"Disponibili.emu", "../../.profile"},
      {"parametri", "../../.bashrc"},
      {"nesticle.config.valmerin", "../../Documenti/nuovo.txt"},
      {"pcengine.config.valmerin", home_ / ".bashrc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : fs::directory_iterator(data_)) fs::remove_all(entry.path());
    fs::create_directories("zs");
    MakeStandIn("zs/ZSnes.exe");
    WriteBytes("zs/Mario.smc", "mario");
    WriteCatalogue();
    fs::remove(c.name);
    fs::create_symlink(c.leadsTo, c.name);
    WholeRun("Mario.smc");
    EXPECT_TRUE(fs::is_symlink(c.name));
    ExpectHomeUntouched();
  }
}

// A game that is a link to a private file of the user's is copied as private as
// it is: nobody else can read the copy in the emulator folder.
TEST_F(HandedFolderAttackLinks, AGameLinkedToAPrivateFileStaysPrivate) {
  MakeStandIn("zs/ZSnes.exe");
  fs::create_symlink("../../../Documenti/chiave", "zs/Segreto.smc");
  WriteCatalogue();
  ProgramRun run;
  const LaunchOutcome launched = run.Launch("Segreto.smc");
  ASSERT_TRUE(launched.started) << launched.message;
  const fs::perms copy = fs::status("zs/Gioco.smc").permissions();
  EXPECT_EQ(copy & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
  run.Exit();
  ExpectHomeUntouched();
}

using HandedFolderAttackNames = HandedFolderTest;

// A game name holding "\" and ".." is a name: the launch copies that very file
// from the emulator's folder, or nothing, never a file the name spells elsewhere.
TEST_F(HandedFolderAttackNames, AGameIsReachedByItsOwnNameInItsOwnFolder) {
  const struct {
    const char* game;
    bool aFolderBeside;
    const char* stored = nullptr;  // the name's bytes on disk, when not the UTF-8 text
  } cases[] = {
      {"a\\..\\..\\..\\Fuori.smc", true},
      {"Citt\u00e0 Perduta.smc", false, "Citt\xe0 Perduta.smc"},  // an old disk's name
      {"x\\..\\..\\Fuori.smc", false},
      {"Cartella\\Gioco Zip.smc", false},
      {"a\\..\\Mario.smc", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.game);
    for (const auto& entry : fs::directory_iterator(data_)) fs::remove_all(entry.path());
    fs::create_directories("zs");
    MakeStandIn("zs/ZSnes.exe");
    WriteBytes("zs/Mario.smc", "mario");
    if (c.aFolderBeside) fs::create_directories("zs/a");
    WriteBytes(fs::path("zs") / (c.stored != nullptr ? c.stored : c.game), "il gioco listato");
    WriteCatalogue();
    ProgramRun run;
    ASSERT_TRUE(run.state.gameLists[IndexOf(Emulator::ZSnes)].FindFile(c.game)) << "not listed";
    const LaunchOutcome launched = run.Launch(c.game);
    ASSERT_TRUE(launched.started) << launched.message;
    EXPECT_EQ(ReadBytes("zs/Gioco.smc"), "il gioco listato");
    EXPECT_EQ(ReadBytes("zs/Mario.smc"), "mario");
    run.Exit();
    ExpectHomeUntouched();
  }
}

}  // namespace
}  // namespace valmerin::testing
#endif
