#include "options/options_model.h"

#include <gtest/gtest.h>

#include "support/fresh_folder.h"

namespace valmerin {
namespace {

TEST(OptionsModelTest, DesignStateOfTheWindow) {
  OptionsModel m;
  EXPECT_EQ(m.Check(70), 0);
  EXPECT_EQ(m.Check(71) + m.Check(72) + m.Check(73) + m.Check(74), 4);
  EXPECT_TRUE(m.Option(4));
  std::string texts;
  for (int n = 1; n <= kTextCount; ++n) texts += m.Text(n) + "|";
  EXPECT_EQ(texts,
            "0|0|100|100|Text5||0|Text8|220|5|1|220|5|1|224|256|C:\\NESticle\\NESticle.pal|"
            "22010|256||||||C:\\NESticle\\|C:\\NESticle\\|C:\\NESticle\\|C:\\NESticle\\|"
            "C:\\NESticle\\|Text30||C:\\ZSnes\\|C:\\NESticle\\|C:\\KGen\\|C:\\PCE\\|Text36|");
  EXPECT_EQ(m.ComboText(3), "3 - 44100");
  EXPECT_EQ(m.ComboText(4), "0 - 320x240x256");
  EXPECT_EQ(m.Scroll(3), 0);
  EXPECT_EQ(m.Scroll(4), 50);
}

TEST(OptionsModelTest, RefusedValuesLeaveTheControlAndBarsWriteTheirBoxes) {
  OptionsModel m;
  std::vector<std::string> changed;
  m.SetListener([&](ControlId id) { changed.push_back(id.Name()); });
  EXPECT_FALSE(m.SetCheck(11, 3));
  EXPECT_FALSE(m.SetCheck(11, -1));
  EXPECT_FALSE(m.SetScroll(1, 10));
  EXPECT_FALSE(m.SetScroll(4, 49));
  EXPECT_TRUE(changed.empty());
  EXPECT_TRUE(m.SetCheck(11, 2));
  EXPECT_TRUE(m.SetScroll(4, 120));
  EXPECT_EQ(m.Text(4), "120");
  EXPECT_EQ(changed, (std::vector<std::string>{"Check11", "VScroll4", "Text4"}));
  // The same position is no change: a text typed into the box stays.
  m.SetScroll(5, 3);
  m.SetText(7, "03");
  EXPECT_TRUE(m.SetScroll(5, 3));
  EXPECT_EQ(m.Text(7), "03");
}

TEST(OptionsModelTest, OptionButtonsFormOneGroup) {
  OptionsModel m;
  m.SetOption(2, true);
  EXPECT_TRUE(m.Option(2));
  EXPECT_FALSE(m.Option(4));
  m.SetOption(3, false);
  EXPECT_TRUE(m.Option(2));
  m.SetOption(2, false);
  EXPECT_FALSE(m.Option(1) || m.Option(2) || m.Option(3) || m.Option(4));
}

using WindowStartupTest = testing::FreshFolderTest;

TEST_F(WindowStartupTest, FillsCombosRaisesBarsAndReadsAvailability) {
  OptionsModel m;
  m.RunWindowStartup();
  EXPECT_EQ(m.ComboItems(3)[2], "4 - 16000");
  EXPECT_EQ(m.ComboItems(3).back(), "3 - 44100");
  EXPECT_EQ(m.ComboItems(4).size(), 8u);
  EXPECT_EQ(m.ComboItems(2).size(), 7u);
  EXPECT_EQ(m.Scroll(4), 100);
  EXPECT_EQ(m.Text(3), "100");
  // No availability file: the holder stays Empty, so every box is unchecked.
  EXPECT_EQ(m.Check(71) + m.Check(72) + m.Check(73) + m.Check(74), 0);

  const std::vector<std::pair<std::string, std::array<int, 4>>> cases = {
      {"0,1,1,0\r\n", {0, 1, 1, 0}},
      {"1\r\n", {1, 1, 1, 1}},  // a short file repeats its last value
      {"1,0\r\n", {1, 0, 0, 0}},
      {"2,5,ciao,0\r\n", {2, 1, 1, 0}},    // refused values leave the design state
      {"#TRUE#,0,0,0\r\n", {1, 0, 0, 0}},  // true is -1, which a check box refuses
  };
  for (const auto& [file, expected] : cases) {
    WriteBytes("DISPONIBILI.EMU", file);
    OptionsModel fresh;
    fresh.RunWindowStartup();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(fresh.Check(71 + i), expected[i]) << file << i;
  }
}

}  // namespace
}  // namespace valmerin
