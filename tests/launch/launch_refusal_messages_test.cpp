// A launch refused by the system's permissions names the file that failed and
// whether it was read or written, and a read-only data folder says what to do.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>

#include "launch/game_launch.h"
#include "launch_test_support.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using LaunchRefusalMessagesTest = testing::LaunchFolderTest;

TEST_F(LaunchRefusalMessagesTest, APermissionRefusalSaysWhichFileAndWhichWay) {
  if (geteuid() == 0) GTEST_SKIP() << "root passes every permission; make test-user runs this";
  struct Case {
    const char* what;
    const char* lockedAway;  // "game", "emulator folder", "data folder"
    std::vector<const char*> says;
  };
  const Case cases[] = {
      {"a game the user may not read", "game",
       {"Impossibile leggere il gioco", "Mario.smc", "Nessuna copia"}},
      {"an emulator folder the user may not write to", "emulator folder",
       {"Impossibile scrivere la copia del gioco", "Gioco.smc"}},
      {"a read-only data folder", "data folder",
       {"Copie.valmerin", "non si può scrivere", "copiare il catalogo"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = MakeFolder(std::string("ZSnes ") + c.lockedAway);
    MakeStandIn(folder, "ZSnes.exe");
    WriteBytes(folder + "Mario.smc", "mario");
    MainWindowState state;
    state.EmulatorFolder[IndexOf(Emulator::ZSnes)] = folder;
    state.Text1 = "Mario.smc";
    state.gameLists[IndexOf(Emulator::ZSnes)].Add("Mario.smc", "Mario.smc");
    const std::string what = c.lockedAway;
    const fs::path locked = what == "game" ? fs::path(folder + "Mario.smc")
                            : what == "emulator folder" ? fs::path(folder)
                                                        : fs::current_path();
    const fs::perms before = fs::status(locked).permissions();
    fs::permissions(locked, what == "game" ? fs::perms::none
                                           : fs::perms::owner_read | fs::perms::owner_exec);
    const LaunchOutcome outcome = LaunchGame(state, Emulator::ZSnes);
    fs::permissions(locked, before);
    EXPECT_FALSE(outcome.started);
    for (const char* part : c.says) {
      EXPECT_NE(outcome.message.find(part), std::string::npos) << outcome.message;
    }
    EXPECT_FALSE(fs::exists(folder + "Gioco.smc"));
  }
}

}  // namespace
}  // namespace valmerin
#endif
