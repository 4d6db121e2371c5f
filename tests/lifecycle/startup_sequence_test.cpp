#include "lifecycle/startup_sequence.h"

#include <gtest/gtest.h>

#include "options/options_model.h"
#include "support/recording_hooks.h"
#include "support/fresh_folder.h"
#include "support/shown_texts.h"

namespace valmerin {
namespace {

using Calls = std::vector<std::string>;

class StartupSequenceTest : public testing::FreshFolderTest {
 protected:
  MainWindowState state;
  OptionsModel options;
  testing::RecordingHooks hooks;
};

TEST_F(StartupSequenceTest, WithoutAFolderFileNothingIsAvailable) {
  WriteBytes("zs/a.smc", "");
  WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
  RunStartupSequence(state, options, hooks);
  EXPECT_EQ(hooks.calls, (Calls{"tab off 0", "tab off 1", "tab off 2", "tab off 3"}));
  EXPECT_TRUE(state.gameLists[0].empty());
  EXPECT_EQ((Calls{options.Text(32), options.Text(33), options.Text(34), options.Text(35)}),
            (Calls{"C:\\ZSnes\\", "C:\\NESticle\\", "C:\\KGen\\", "C:\\PCE\\"}));
}

TEST_F(StartupSequenceTest, AvailableEmulatorsAreScannedWithTheirDescriptions) {
  WriteBytes("cartelle.cfg", "\"zs/\"\r\n\"ne/\"\r\n\"kg/\"\r\n\"\"\r\n");
  WriteBytes("Disponibili.emu", "1,0,2,0\r\n");  // ZSnes, NESticle, KGen, Magic Engine
  WriteBytes("Descrizioni.emu", "a.smc\r\nSuper A\r\n");
  for (const char* rom : {"zs/a.smc", "kg/b.bin", "ne/c.nes"}) WriteBytes(rom, "");
  RunStartupSequence(state, options, hooks);
  EXPECT_EQ(hooks.calls, (Calls{"tab off 2", "tab off 3"}));
  std::array<Calls, 4> shown;
  for (int i = 0; i < 4; ++i) shown[i] = testing::ShownTexts(state.gameLists[i]);
  EXPECT_EQ(shown, (std::array<Calls, 4>{Calls{"Super A"}, Calls{"b.bin"}, {}, {}}));
  EXPECT_EQ(state.EmulatorFolder, (std::array<std::string, 4>{"zs/", "kg/", "ne/", "C:\\PCE\\"}));
  EXPECT_EQ(options.Text(33), "ne/");
  EXPECT_EQ(options.Check(72), 0);  // the options window read the availability file itself
}

TEST_F(StartupSequenceTest, EmptyZSnesFolderShowsTheFailureBeforeTheTabsGoOff) {
  WriteBytes("Cartelle.cfg", "\"vuota/\"\r\n\"\"\r\n\"kg/\"\r\n\"\"\r\n");
  WriteBytes("Disponibili.emu", "1,0,1,0\r\n");
  WriteBytes("kg/b.smd", "");
  RunStartupSequence(state, options, hooks);
  ASSERT_EQ(hooks.calls.size(), 6u);
  EXPECT_EQ(Calls(hooks.calls.begin() + 3, hooks.calls.end()),
            (Calls{"options window", "tab off 2", "tab off 3"}));
  EXPECT_EQ(testing::ShownTexts(state.gameLists[IndexOf(Emulator::KGen)]), Calls{"b.smd"});
}

}  // namespace
}  // namespace valmerin
