#include "catalogue/game_list_export.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace valmerin
