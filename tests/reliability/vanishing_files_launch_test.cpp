// Files that change under the running program: a ROM gone between scan and launch,
// the emulator's folder removed, the game copy replaced by a folder. The user is
// told, nothing starts, and the exit still goes through without touching them.
#ifndef _WIN32
#include "catalogue/main_window_state.h"
#include "catalogue/rom_scan.h"
#include "launch/game_launch.h"
#include "lifecycle/exit_sequence.h"
#include "options/options_model.h"
#include "reliability_support.h"
#include "support/shown_texts.h"

namespace valmerin::testing {
namespace {

class VanishingFiles : public FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    folder_ = Root() / "zsnes";
    fs::create_directories(folder_);
    MakeStandIn(folder_ / "ZSnes.exe");
    WriteBytes(folder_ / "A.smc", "rom");
    state_.EmulatorFolder[IndexOf(Emulator::ZSnes)] = folder_.string() + "/";
    ASSERT_TRUE(ScanInto(state_.gameLists, state_.EmulatorFolder, state_.descriptions,
                         {true, false, false, false}));
    ASSERT_EQ(testing::ShownTexts(state_.gameLists[0]), std::vector<std::string>{"A.smc"});
    state_.Text1 = "A.smc";
  }

  // Not started: a message, and the stand-in never writes its arguments.
  void ExpectRefused(const LaunchOutcome& outcome) {
    EXPECT_FALSE(outcome.started);
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_FALSE(ArgumentsOf(folder_ / "ZSnes.exe", std::chrono::milliseconds(300)));
  }

  fs::path folder_;
  MainWindowState state_;
  OptionsModel options_;
};

TEST_F(VanishingFiles, RomDeletedAfterTheScan) {
  fs::remove(folder_ / "A.smc");
  ExpectRefused(LaunchGame(state_, Emulator::ZSnes));
  EXPECT_FALSE(fs::exists(folder_ / "Gioco.smc"));
  EXPECT_TRUE(RunExitSequence(state_, options_).empty());
}

TEST_F(VanishingFiles, EmulatorFolderRemovedWhileRunning) {
  fs::remove_all(folder_);
  ExpectRefused(LaunchGame(state_, Emulator::ZSnes));
  const LaunchOutcome plain = RunEmulator(state_, 0);
  EXPECT_FALSE(plain.started);
  EXPECT_FALSE(plain.message.empty());
  EXPECT_TRUE(RunExitSequence(state_, options_).empty());
  EXPECT_FALSE(fs::exists(folder_));
}

TEST_F(VanishingFiles, GameCopyReplacedByAFolder) {
  const LaunchOutcome first = LaunchGame(state_, Emulator::ZSnes);
  ASSERT_TRUE(first.started) << first.message;
  ASSERT_TRUE(ArgumentsOf(folder_ / "ZSnes.exe"));
  fs::remove(folder_ / "ZSnes.exe.args");

  fs::remove(folder_ / "Gioco.smc");
  fs::create_directory(folder_ / "Gioco.smc");
  WriteBytes(folder_ / "Gioco.smc" / "saves", "the user's");
  ExpectRefused(LaunchGame(state_, Emulator::ZSnes));

  EXPECT_TRUE(RunExitSequence(state_, options_).empty());
  EXPECT_EQ(ReadBytes(folder_ / "Gioco.smc" / "saves"), "the user's");
  EXPECT_EQ(ReadBytes(folder_ / "A.smc"), "rom");
}

}  // namespace
}  // namespace valmerin::testing
#endif
