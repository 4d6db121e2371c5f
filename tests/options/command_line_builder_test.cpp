#include "options/command_line_builder.h"

#include <gtest/gtest.h>

#include "support/fresh_folder.h"

namespace valmerin {
namespace {

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
