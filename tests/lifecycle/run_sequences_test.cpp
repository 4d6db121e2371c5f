// The run's sequences: start-up, refresh and exit, each against the data folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "lifecycle/exit_sequence.h"
#include "lifecycle/refresh.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "options/settings_records.h"
#include "support/fresh_folder.h"
#include "support/recording_hooks.h"
#include "support/shown_texts.h"

namespace valmerin {
namespace {

using Lines = std::vector<std::string>;
using RunSequenceTest = testing::FreshFolderTest;

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
  EXPECT_EQ(hooks.calls, (Lines{"tab off 0", "tab off 1", "tab off 2", "tab off 3"}));
  EXPECT_TRUE(state.gameLists[0].empty());
  EXPECT_EQ((Lines{options.Text(32), options.Text(33), options.Text(34), options.Text(35)}),
            (Lines{"C:\\ZSnes\\", "C:\\NESticle\\", "C:\\KGen\\", "C:\\PCE\\"}));
}

TEST_F(StartupSequenceTest, AvailableEmulatorsAreScannedWithTheirDescriptions) {
  WriteBytes("cartelle.cfg", "\"zs/\"\r\n\"ne/\"\r\n\"kg/\"\r\n\"\"\r\n");
  WriteBytes("Disponibili.emu", "1,0,2,0\r\n");  // ZSnes, NESticle, KGen, Magic Engine
  WriteBytes("Descrizioni.emu", "a.smc\r\nSuper A\r\n");
  for (const char* rom : {"zs/a.smc", "kg/b.bin", "ne/c.nes"}) WriteBytes(rom, "");
  RunStartupSequence(state, options, hooks);
  EXPECT_EQ(hooks.calls, (Lines{"tab off 2", "tab off 3"}));
  const std::array<Lines, 4> shown = {Lines{"Super A"}, Lines{"b.bin"}, {}, {}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(testing::ShownTexts(state.gameLists[i]), shown[i]) << i;
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
  EXPECT_EQ(Lines(hooks.calls.begin() + 3, hooks.calls.end()),
            (Lines{"options window", "tab off 2", "tab off 3"}));
  EXPECT_EQ(testing::ShownTexts(state.gameLists[IndexOf(Emulator::KGen)]), Lines{"b.smd"});
}

// What changes in a folder, and what the lists show after a refresh.
TEST_F(RunSequenceTest, RefreshedListsFollowTheFoldersAndIgnoreWhatIsNoGame) {
  MainWindowState state;
  RunSetup setup{{"zs/", "kg/", "ne/", "pce/"}, {true, true, false, false}};
  WriteBytes("zs/Mario.smc", "");
  WriteBytes("kg/Sonic.bin", "");
  RefreshLists(state, setup);
  // Each step: what changes, then what ZSnes's list shows and whether it changed.
  const std::tuple<const char*, std::function<void()>, Lines, bool> steps[] = {
      {"an emulator's save", [] { WriteBytes("zs/Mario.srm", "save"); }, {"Mario.smc"}, false},
      {"a game copy, in capitals", [] { WriteBytes("zs/GIOCO.SMC", ""); }, {"Mario.smc"}, false},
      {"a copy name no run made", [] { WriteBytes("zs/Gioco.sfc", ""); }, {"Mario.smc"}, false},
      {"a game added", [] { WriteBytes("zs/Zelda.sfc", ""); }, {"Mario.smc", "Zelda.sfc"}, true},
      {"a description",
       [] { WriteBytes("Descrizioni.emu", "Zelda.sfc\r\nZelda\r\n"); },
       {"Mario.smc", "Zelda"},
       true},
      {"a game removed", [] { std::filesystem::remove("zs/Mario.smc"); }, {"Zelda"}, true},
      {"ZSnes switched off", [&] { setup.available[0] = false; }, {}, true},
  };
  for (const auto& [what, change, zsnes, zsnesChanged] : steps) {
    SCOPED_TRACE(what);
    change();
    const std::uint64_t before = state.gameLists[0].Generation();
    const RefreshOutcome outcome = RefreshLists(state, setup);
    EXPECT_EQ(testing::ShownTexts(state.gameLists[0]), zsnes);
    EXPECT_EQ(outcome.listChanged[0], zsnesChanged);
    EXPECT_EQ(state.gameLists[0].Generation() != before, zsnesChanged);
    EXPECT_FALSE(outcome.listChanged[1]);
    EXPECT_EQ(testing::ShownTexts(state.gameLists[1]), Lines{"Sonic.bin"});
  }
  EXPECT_EQ(state.gameLists[1].File(0), "Sonic.bin");
}

// A settings file the start-up did not read (its emulator switched off, or no
// folder file at all) is left as it is at exit, unless the user changed that
// emulator's options during the run.
TEST_F(RunSequenceTest, SettingsNotReadThisRunSurviveTheExitUnlessChanged) {
  const char* kMine = "0,1,1,0,\"mie impostazioni\"\r\n";
  // The first text box of NESticle's settings, which some rows change as the options
  // window does.
  const auto fields = SettingsRecordOf(Emulator::NESticle);
  const auto box = std::ranges::find(fields, FieldKind::BoxText, &SettingsField::kind);
  ASSERT_NE(box, fields.end()) << "no text box";
  // NESticle switched off, or no folder file at all (nullptr); each with and without
  // its options changed, which alone lets the exit write over the file.
  const std::pair<const char*, const char*> starts[] = {
      {"\"zs/\"\r\n\"ne/\"\r\n\"kg/\"\r\n\"pc/\"\r\n", "1,0,1,1"}, {nullptr, "1,1,1,1"}};
  for (auto [folderFile, availability] : starts) {
    for (bool changed : {false, true}) {
      SCOPED_TRACE(std::string(availability) + (changed ? ", options changed" : ""));
      std::filesystem::remove("cartelle.cfg");
      if (folderFile != nullptr) WriteBytes("cartelle.cfg", folderFile);
      WriteBytes("Disponibili.emu", std::string(availability) + "\r\n");
      WriteBytes("zs/a.smc", "");
      WriteBytes("nesticle.config.valmerin", kMine);
      MainWindowState state;
      OptionsModel options;
      testing::RecordingHooks hooks;
      RunStartupSequence(state, options, hooks);
      if (changed) options.SetText(box->control, options.Text(box->control) + "-x");
      RunExitSequence(state, options);
      EXPECT_EQ(ReadBytes("nesticle.config.valmerin") == kMine, !changed);
      // A file that was read is written as always.
      if (folderFile != nullptr) {
        EXPECT_TRUE(std::filesystem::exists("zsnes.config.valmerin"));
      }
    }
  }
}

}  // namespace
}  // namespace valmerin
