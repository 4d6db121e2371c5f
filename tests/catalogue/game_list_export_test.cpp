#include "catalogue/game_list_export.h"

#include <gtest/gtest.h>

#include "support/fresh_folder.h"

namespace valmerin {
namespace {

using Lines = std::vector<std::string>;

TEST(ExportLinesTest, FourEmptyListsGiveSeventeenLines) {
  EXPECT_EQ(ExportLines({}),
            (Lines{"Lista ROMs - creata con valmerin", "", "ZSnes", "-----", "", "", "KGen", "----",
                   "", "", "NESticle", "--------", "", "", "Magic Engine", "------------", ""}));
}

TEST(ExportLinesTest, EntriesStandUnderTheirEmulatorAndNothingFollowsTheLast) {
  GameLists lists;
  lists[IndexOf(Emulator::ZSnes)].Add("Mario.smc", "Super Mario World");
  lists[IndexOf(Emulator::MagicEngine)].Add("Bonk.PCE", "Bonk.PCE");
  EXPECT_EQ(ExportLines(lists),
            (Lines{"Lista ROMs - creata con valmerin", "", "ZSnes", "-----", "",
                   "Super Mario World", "", "KGen", "----", "", "", "NESticle", "--------", "", "",
                   "Magic Engine", "------------", "", "Bonk.PCE"}));
}

TEST(PaginateTest, CutsIntoFullPagesAndAlwaysGivesOne) {
  EXPECT_EQ(Paginate({}, 10), (std::vector<Lines>{Lines{}}));
  EXPECT_EQ(Paginate({"a", "b", "c", "d", "e"}, 2),
            (std::vector<Lines>{{"a", "b"}, {"c", "d"}, {"e"}}));
  EXPECT_EQ(Paginate({"a", "b"}, 0), (std::vector<Lines>{{"a"}, {"b"}}));
}

using GameListFileTest = testing::FreshFolderTest;

// A failed export says why, as every other save does, and leaves what stood at the
// path as it was.
TEST_F(GameListFileTest, AFailedWriteSaysWhyAndLeavesThePathAsItWas) {
  GameLists lists;
  lists[0].Add("Mario.smc", "Super Mario");
  std::filesystem::create_directory("cartella");
  WriteBytes("vecchia.txt", "vecchia");
  const struct {
    const char* path;
    SaveResult result;
    FileError error;
  } cases[] = {
      {"lista.txt", SaveResult::Saved, FileError::None},
      {"cartella", SaveResult::WriteFailed, FileError::NotRegular},
      {"manca/lista.txt", SaveResult::WriteFailed, FileError::Missing},
  };
  for (const auto& c : cases) {
    const SaveOutcome outcome = WriteGameListFile(c.path, lists);
    EXPECT_EQ(outcome.result, c.result) << c.path;
    EXPECT_EQ(outcome.error, c.error) << c.path;
  }
  EXPECT_NE(ReadBytes("lista.txt").find("\r\nSuper Mario\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory("cartella"));

  lists[1].Add("Omega.smd", "\u03a9mega");  // no such letter in the code page
  EXPECT_EQ(WriteGameListFile("vecchia.txt", lists).result, SaveResult::Unencodable);
  EXPECT_EQ(ReadBytes("vecchia.txt"), "vecchia");
  EXPECT_EQ(WriteGameListFile("vecchia.txt", lists, true).result, SaveResult::Saved);
  EXPECT_NE(ReadBytes("vecchia.txt").find("\r\n?mega\r\n"), std::string::npos);
}

}  // namespace
}  // namespace valmerin
