// The demo catalogue shipped in examples/demo must load and launch as it stands.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/descriptions.h"
#include "catalogue/folder_files.h"
#include "catalogue/rom_scan.h"
#include "launch/game_launch.h"
#include "launch/list_selection.h"
#include "launch_test_support.h"

namespace valmerin {
namespace {

class DemoCatalogueTest : public testing::LaunchFolderTest {
 protected:
  void SetUp() override {
    LaunchFolderTest::SetUp();
    const auto demo = std::filesystem::path(VALMERIN_SOURCE_DIR) / "examples/demo";
    std::filesystem::copy(demo, Root(), std::filesystem::copy_options::recursive);
    ASSERT_TRUE(ReadFolderFile(state_.EmulatorFolder));
    Availability availability;
    ReadAvailabilityFile(availability);
    std::array<bool, kEmulatorCount> available{};
    for (int i = 0; i < kEmulatorCount; ++i) available[i] = IsAvailable(availability[i]);
    ASSERT_EQ(available, (std::array<bool, 4>{true, true, true, true}));
    state_.descriptions = ReadDescriptions();
    ASSERT_TRUE(ScanInto(state_.gameLists, state_.EmulatorFolder, state_.descriptions, available));
  }
  MainWindowState state_;
};

TEST_F(DemoCatalogueTest, ListsTheGamesAndStartsEveryStandIn) {
  // A chain of two records names the game; the system card is left out.
  const GameList& zsnes = state_.gameLists[IndexOf(Emulator::ZSnes)];
  const auto cavaliere = zsnes.FindFile("Cavaliere di Luna.sfc");
  ASSERT_TRUE(cavaliere);
  EXPECT_EQ(zsnes.Shown(*cavaliere), "Cavaliere di Luna (edizione completa)");
  EXPECT_EQ(state_.gameLists[IndexOf(Emulator::MagicEngine)].size(), 2u);
  if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) {
    GTEST_SKIP() << "the stand-ins would open windows";
  }
  for (Emulator emulator : kTabOrder) {
    state_.Text1 = GameFileOf(state_, emulator, 0);
    const LaunchOutcome outcome = LaunchGame(state_, emulator);
    EXPECT_TRUE(outcome.started) << outcome.commandLine << ": " << outcome.message;
    EXPECT_TRUE(RunEmulator(state_, IndexOf(emulator)).started);
  }
  // Each stand-in notes its start; wait for all eight lines.
  std::string log;
  testing::WaitUntil([&] {
    log = ReadBytes("avvii.log");
    return std::count(log.begin(), log.end(), '\n') >= 8;
  });
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 8) << log;
}

}  // namespace
}  // namespace valmerin
#endif
