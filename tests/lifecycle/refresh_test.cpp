#include "lifecycle/refresh.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/fresh_folder.h"
#include "support/shown_texts.h"

namespace valmerin {
namespace {

using Lines = std::vector<std::string>;

class RefreshTest : public testing::FreshFolderTest {
 protected:
  void SetUp() override {
    testing::FreshFolderTest::SetUp();
    for (const char* dir : {"zs", "kg"}) std::filesystem::create_directory(dir);
    setup.folders = {"zs/", "kg/", "ne/", "pce/"};
    setup.available = {true, true, false, false};
  }
  MainWindowState state;
  RunSetup setup;
};

// What changes in a folder, and what the lists show after a refresh.
TEST_F(RefreshTest, ListsFollowTheFoldersAndIgnoreWhatIsNoGame) {
  WriteBytes("zs/Mario.smc", "");
  WriteBytes("kg/Sonic.bin", "");
  RefreshLists(state, setup);
  const struct {
    const char* what;
    std::function<void()> change;
    Lines zsnes;
    bool zsnesChanged;
  } steps[] = {
      {"an emulator's save", [] { WriteBytes("zs/Mario.srm", "save"); }, {"Mario.smc"}, false},
      {"a game copy, in any letter case", [] { WriteBytes("zs/GIOCO.SMC", ""); }, {"Mario.smc"},
       false},
      {"a file at a copy name that no run made", [] { WriteBytes("zs/Gioco.sfc", ""); },
       {"Mario.smc"}, false},
      {"a game added", [] { WriteBytes("zs/Zelda.sfc", ""); }, {"Mario.smc", "Zelda.sfc"}, true},
      {"a description",
       [] { WriteBytes("Descrizioni.emu", "Zelda.sfc\r\nZelda\r\n"); },
       {"Mario.smc", "Zelda"},
       true},
      {"a game removed", [] { std::filesystem::remove("zs/Mario.smc"); }, {"Zelda"}, true},
      {"ZSnes switched off", [&] { setup.available[0] = false; }, {}, true},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    const std::uint64_t before = state.gameLists[0].Generation();
    const RefreshOutcome outcome = RefreshLists(state, setup);
    EXPECT_EQ(testing::ShownTexts(state.gameLists[0]), step.zsnes);
    EXPECT_EQ(outcome.listChanged[0], step.zsnesChanged);
    EXPECT_EQ(state.gameLists[0].Generation() != before, step.zsnesChanged);
    EXPECT_FALSE(outcome.listChanged[1]);
    EXPECT_EQ(testing::ShownTexts(state.gameLists[1]), Lines{"Sonic.bin"});
  }
  EXPECT_EQ(state.gameLists[1].File(0), "Sonic.bin");
}

}  // namespace
}  // namespace valmerin
