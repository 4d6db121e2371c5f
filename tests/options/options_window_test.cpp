// The options window's model, and the command lines and files its OK writes.
#include <gtest/gtest.h>

#include "options/command_line_builder.h"
#include "options/options_model.h"
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

constexpr int kZSnes = 0, kKGen = 1, kNESticle = 2, kMagicEngine = 3;

std::string Line(const OptionsModel& m, int emulator) {
  return BuildCommandLines(m)[emulator].value_or("<none>");
}

TEST(CommandLineBuilderTest, NumbersAndCombosKeepTheirExactForm) {
  OptionsModel m;
  m.RunWindowStartup();
  m.SetComboText(1, "tastiera");  // no exact match: no player-1 switch
  m.SetComboText(2, "Niente");
  for (int check : {11, 21, 23, 25}) m.SetCheck(check, 1);
  m.SetScroll(1, 3);
  m.SetComboText(3, "4 - 16000");
  m.SetComboText(4, "");
  EXPECT_EQ(Line(m, kZSnes), "-2 0 -f  3 -p  100 -r 4 -v  ");
  m.SetComboText(3, "è strano");  // a whole character, never half of one
  EXPECT_NE(Line(m, kZSnes).find("-r è "), std::string::npos);

  m.SetOption(4, false);
  m.SetCheck(33, 1);
  EXPECT_EQ(Line(m, kKGen), "-F1 ");
  m.SetScroll(5, 3);
  m.SetOption(3, true);
  EXPECT_EQ(Line(m, kKGen), "-E -F4 ");
}

TEST(CommandLineBuilderTest, RowsKeepTableOrderAndOnlyStateOneTicks) {
  OptionsModel m;
  m.SetComboText(1, "Joystick");
  m.SetComboText(2, "Joystick");
  for (int check : {31, 1, 32}) m.SetCheck(check, 1);
  EXPECT_EQ(Line(m, kZSnes), "-0 -1 2 -2 2 -om -z ");
  m.SetCheck(1, 2);
  EXPECT_EQ(Line(m, kZSnes), "-1 2 -2 2 -om -z ");

  for (int check : {39, 47}) m.SetCheck(check, 1);
  EXPECT_EQ(Line(m, kNESticle), "-sb 220 5 1 -res 256 224 -vsync OFF ");
  for (int check : {39, 47}) m.SetCheck(check, 0);
  // 55: an empty box still gives the switch and both blanks; 64, the patches
  // folder, has no switch.
  for (int check : {49, 54, 55, 64}) m.SetCheck(check, 1);
  m.SetText(20, "1");
  m.SetText(31, "2");
  EXPECT_EQ(Line(m, kNESticle), "-vsync ON -setinput 1 2 -vfps  ");
  for (int check : {70, 66}) m.SetCheck(check, 1);
  EXPECT_EQ(Line(m, kMagicEngine), "-cd -nosound ");
}

using ConfirmOptionsTest = testing::FreshFolderTest;

TEST_F(ConfirmOptionsTest, WritesTheThreeFilesAndTheBoxes) {
  OptionsModel m;
  m.RunWindowStartup();
  for (int check : {71, 73}) m.SetCheck(check, 1);
  m.SetText(32, "C:\\Giochi");
  m.SetText(33, "");
  ConfirmOutcome outcome = ConfirmOptions(m);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(ReadBytes("disponibili.emu"), "1,0,1,0\r\n");
  EXPECT_EQ(ReadBytes("parametri"), "\"-1 1 -2 1 \"\r\n\"-A \"\r\n\"-vsync OFF \"\r\n\r\n");
  EXPECT_EQ(ReadBytes("Cartelle.cfg"),
            "\"C:\\Giochi\\\"\r\n\"\"\r\n\"C:\\KGen\\\"\r\n\"C:\\PCE\\\"\r\n");
  EXPECT_EQ(m.Text(32), "C:\\Giochi\\");
  EXPECT_EQ(m.Text(5), "-1 1 -2 1 ");
  EXPECT_EQ(m.Text(36), "");

  const std::string before =
      ReadBytes("parametri") + ReadBytes("Cartelle.cfg") + ReadBytes("disponibili.emu");
  ASSERT_TRUE(ConfirmOptions(m).ok);
  EXPECT_EQ(ReadBytes("parametri") + ReadBytes("Cartelle.cfg") + ReadBytes("disponibili.emu"),
            before);
#ifndef _WIN32
  m.SetText(32, "/home/giochi/snes");
  m.SetText(34, "/home/giochi/kgen\\");
  ASSERT_TRUE(ConfirmOptions(m).ok);
  EXPECT_EQ(m.Text(32), "/home/giochi/snes/");
  EXPECT_EQ(m.Text(34), "/home/giochi/kgen\\");
#endif
}

TEST_F(ConfirmOptionsTest, UnstorableTextWritesNothingAndNamesTheBox) {
  const struct {
    int check;  // ticked first, so that the text is written; 0: none
    int text;   // the box, or with `combo` the combo box, given `value`
    bool combo;
    const char* value;
    const char* label;
  } cases[] = {
      {0, 32, false, "C:\\\"Giochi\"", "\"Cartella di ZSnes:\""},
      {50, 17, false, "C:\\pal\r\nx", "\"Leggi palette da:\""},
      {23, 3, true, "\"4\"", "\"Seleziona sampling rate:\""},
      {0, 35, false, "C:\\Ω\\", "\"Cartella di PCEngine:\""},
  };
  for (const auto& [check, text, combo, value, label] : cases) {
    OptionsModel m;
    if (check != 0) m.SetCheck(check, 1);
    combo ? m.SetComboText(text, value) : m.SetText(text, value);
    m.SetText(33, "C:\\NoSlash");
    ConfirmOutcome outcome = ConfirmOptions(m);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find(label), std::string::npos) << outcome.message;
    EXPECT_TRUE(std::filesystem::is_empty(".")) << label;
    EXPECT_EQ(m.Text(33), "C:\\NoSlash");
    EXPECT_EQ(m.Text(5), "Text5");
  }
  OptionsModel unused;  // a box whose text is not written is no obstacle
  unused.SetText(17, "\"");
  EXPECT_TRUE(ConfirmOptions(unused).ok);
}

TEST_F(ConfirmOptionsTest, AFailedWriteNamesItsFileAndKeepsEarlierOnes) {
  std::filesystem::create_directory("parametri");
  OptionsModel m;
  ConfirmOutcome outcome = ConfirmOptions(m);
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.message.find("\"parametri\""), std::string::npos) << outcome.message;
  EXPECT_EQ(ReadBytes("disponibili.emu"), "1,1,1,1\r\n");
  EXPECT_FALSE(std::filesystem::exists("Cartelle.cfg"));
}

}  // namespace
}  // namespace valmerin
