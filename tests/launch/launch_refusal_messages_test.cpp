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
  enum Locked { Game, EmulatorFolder, DataFolder };
  const struct {
    Locked away;  // from the user, by its permissions
    std::vector<std::string_view> says;
  } cases[] = {
      {Game, {"Impossibile leggere il gioco", "Mario.smc", "Nessuna copia"}},
      {EmulatorFolder, {"Impossibile scrivere la copia del gioco", "Gioco.smc"}},
      {DataFolder, {"Copie.valmerin", "non si può scrivere", "copiare il catalogo"}},  // read-only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says[0]);
    const std::string folder = MakeFolder("ZSnes " + std::to_string(c.away));
    MakeStandIn(folder, "ZSnes.exe");
    WriteBytes(folder + "Mario.smc", "mario");
    MainWindowState state = testing::WithGame(Emulator::ZSnes, folder, "Mario.smc");
    const fs::path locked = c.away == Game             ? fs::path(folder + "Mario.smc")
                            : c.away == EmulatorFolder ? fs::path(folder)
                                                       : fs::current_path();
    const fs::perms before = fs::status(locked).permissions();
    fs::permissions(
        locked, c.away == Game ? fs::perms::none : fs::perms::owner_read | fs::perms::owner_exec);
    const LaunchOutcome outcome = LaunchGame(state, Emulator::ZSnes);
    fs::permissions(locked, before);
    testing::ExpectRefusal(outcome, c.says);
    EXPECT_FALSE(fs::exists(folder + "Gioco.smc"));
  }
}

}  // namespace
}  // namespace valmerin
#endif
