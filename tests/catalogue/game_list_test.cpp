// What a list shows when filtered, and what it becomes when exported.
#include <gtest/gtest.h>

#include "catalogue/game_filter.h"
#include "catalogue/game_list_export.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {

TEST(GameFilterTest, MatchesAnyPartOfTheShownTextIgnoringCaseAndAccents) {
  GameList list;
  for (const char* shown : {"Città Sommersa", "CITTADELLA", "Mario.smc", "Œuvre Noire", "Šahovnica",
                            "Cafe\xcc\x81 Racer", "Cafè", "Citt\xe0.NES", "日本の城"}) {
    list.Add(std::string("f") + shown, shown);
  }
  GameFilter filter;
  filter.Prepare(list);
  const struct {
    const char* typed;
    std::vector<std::uint32_t> rows;
  } cases[] = {
      {"", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"citta", {0, 1}},  // the stray Windows-1252 byte is no "a"
      {"CITTÀ", {0, 1}},
      {"à s", {0}},
      {"o.s", {2}},     // what is typed is plain text, no pattern
      {"oeuvre", {3}},  // Œ stands for both letters
      {"sah", {4}},
      {"cafe", {5, 6}},  // a combining accent is dropped as well
      {"\xe0", {7}},     // the stray byte finds itself
      {"の城", {8}},
      {"sommersa cittadella", {}},  // no hit spans two entries
      {"x", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(filter.Match(c.typed), c.rows);
    // Narrowing the answer of every shorter start gives the same answer.
    const std::string typed = c.typed;
    for (std::size_t n = 0; n < typed.size(); ++n) {
      if ((static_cast<unsigned char>(typed[n]) & 0xC0) == 0x80) continue;  // mid-letter
      EXPECT_EQ(filter.Narrow(typed, filter.Match(typed.substr(0, n))), c.rows) << n;
    }
  }
  EXPECT_TRUE(filter.PreparedFor(list));
  list.ReplaceShown("Mario.smc", "Super Mario");
  EXPECT_FALSE(filter.PreparedFor(list));  // a changed list is folded again
}

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
