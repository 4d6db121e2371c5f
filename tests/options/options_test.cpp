// The options window's model, the command lines and files its OK writes, and the
// emulators' settings files kept between runs.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "options/command_line_builder.h"
#include "options/options_model.h"
#include "options/settings_files.h"
#include "support/fresh_folder.h"
#include "support/recording_hooks.h"

namespace valmerin {
namespace {

// The window as its own start-up leaves it, from the data files in the current folder.
OptionsModel Started() {
  OptionsModel m;
  m.RunWindowStartup();
  return m;
}

TEST(OptionsModelTest, DesignStateOfTheWindowAndOneGroupOfOptionButtons) {
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

  m.SetOption(2, true);
  EXPECT_TRUE(m.Option(2));
  EXPECT_FALSE(m.Option(4));
  m.SetOption(3, false);
  EXPECT_TRUE(m.Option(2));
  m.SetOption(2, false);
  EXPECT_FALSE(m.Option(1) || m.Option(2) || m.Option(3) || m.Option(4));
}

TEST(OptionsModelTest, RefusedValuesLeaveTheControlAndBarsWriteTheirBoxes) {
  OptionsModel m;
  std::vector<std::string> changed;
  m.SetListener([&](ControlId id) { changed.push_back(id.Name()); });
  for (int state : {3, -1}) EXPECT_FALSE(m.SetCheck(11, state)) << state;
  for (auto [n, value] : {std::pair{1, 10}, {4, 49}}) EXPECT_FALSE(m.SetScroll(n, value)) << n;
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

using OptionsFolderTest = testing::FreshFolderTest;

TEST_F(OptionsFolderTest, WindowStartupFillsCombosRaisesBarsAndReadsAvailability) {
  OptionsModel m = Started();
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
    OptionsModel fresh = Started();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(fresh.Check(71 + i), expected[i]) << file << i;
  }
}

std::string Line(const OptionsModel& m, Emulator emulator) {
  return BuildCommandLines(m)[IndexOf(emulator)].value_or("<none>");
}

TEST(CommandLineBuilderTest, NumbersAndCombosKeepTheirExactForm) {
  OptionsModel m = Started();
  m.SetComboText(1, "tastiera");  // no exact match: no player-1 switch
  m.SetComboText(2, "Niente");
  for (int check : {11, 21, 23, 25}) m.SetCheck(check, 1);
  m.SetScroll(1, 3);
  m.SetComboText(3, "4 - 16000");
  m.SetComboText(4, "");
  EXPECT_EQ(Line(m, Emulator::ZSnes), "-2 0 -f  3 -p  100 -r 4 -v  ");
  m.SetComboText(3, "è strano");  // a whole character, never half of one
  EXPECT_NE(Line(m, Emulator::ZSnes).find("-r è "), std::string::npos);

  m.SetOption(4, false);
  m.SetCheck(33, 1);
  EXPECT_EQ(Line(m, Emulator::KGen), "-F1 ");
  m.SetScroll(5, 3);
  m.SetOption(3, true);
  EXPECT_EQ(Line(m, Emulator::KGen), "-E -F4 ");
}

TEST(CommandLineBuilderTest, RowsKeepTableOrderAndOnlyStateOneTicks) {
  OptionsModel m;
  m.SetComboText(1, "Joystick");
  m.SetComboText(2, "Joystick");
  for (int check : {31, 1, 32}) m.SetCheck(check, 1);
  EXPECT_EQ(Line(m, Emulator::ZSnes), "-0 -1 2 -2 2 -om -z ");
  m.SetCheck(1, 2);
  EXPECT_EQ(Line(m, Emulator::ZSnes), "-1 2 -2 2 -om -z ");

  for (int check : {39, 47}) m.SetCheck(check, 1);
  EXPECT_EQ(Line(m, Emulator::NESticle), "-sb 220 5 1 -res 256 224 -vsync OFF ");
  for (int check : {39, 47}) m.SetCheck(check, 0);
  // 55: an empty box still gives the switch and both blanks; 64, the patches
  // folder, has no switch.
  for (int check : {49, 54, 55, 64}) m.SetCheck(check, 1);
  m.SetText(20, "1");
  m.SetText(31, "2");
  EXPECT_EQ(Line(m, Emulator::NESticle), "-vsync ON -setinput 1 2 -vfps  ");
  for (int check : {70, 66}) m.SetCheck(check, 1);
  EXPECT_EQ(Line(m, Emulator::MagicEngine), "-cd -nosound ");
}

TEST_F(OptionsFolderTest, ConfirmWritesTheThreeFilesAndTheBoxes) {
  OptionsModel m = Started();
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

TEST_F(OptionsFolderTest, ConfirmUnstorableTextWritesNothingAndNamesTheBox) {
  // Each row: a box ticked first, so that the text is written (0: none); the text box,
  // or the combo box, given the value; the label the message names.
  const std::tuple<int, int, bool, const char*, const char*> cases[] = {
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

TEST_F(OptionsFolderTest, ConfirmAFailedWriteNamesItsFileAndKeepsEarlierOnes) {
  std::filesystem::create_directory("parametri");
  OptionsModel m;
  ConfirmOutcome outcome = ConfirmOptions(m);
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.message.find("\"parametri\""), std::string::npos) << outcome.message;
  EXPECT_EQ(ReadBytes("disponibili.emu"), "1,1,1,1\r\n");
  EXPECT_FALSE(std::filesystem::exists("Cartelle.cfg"));
}

constexpr const char* kFiles[] = {"zsnes.config.valmerin", "kgen.config.valmerin",
                                  "nesticle.config.valmerin", "pcengine.config.valmerin"};
constexpr std::array<bool, 4> kAll = {true, true, true, true};

class SettingsFilesTest : public testing::FreshFolderTest {
 protected:
  OptionsModel Restarted(const std::array<bool, 4>& available = kAll) {
    OptionsModel m = Started();
    ReadSettingsFiles(m, buffer_, available);
    return m;
  }
  std::string AllFiles() {
    std::string all;
    for (const char* name : kFiles) all += ReadBytes(name);
    return all;
  }
  SettingsBuffer buffer_;
};

TEST_F(SettingsFilesTest, FirstExitWritesFourRecordsFromTheInitialState) {
  MainWindowState state;
  EXPECT_TRUE(RunExitSequence(state, Started()).empty());
  const int counts[] = {41, 13, 47, 6};
  for (int i = 0; i < 4; ++i) {
    std::string text = ReadBytes(kFiles[i]);
    ASSERT_TRUE(text.ends_with("\r\n")) << kFiles[i];
    EXPECT_EQ(text.find("\r\n"), text.size() - 2);
    // The texts the defaults hold carry no comma.
    EXPECT_EQ(std::count(text.begin(), text.end(), ',') + 1, counts[i]) << kFiles[i];
  }
  EXPECT_EQ(ReadBytes("kgen.config.valmerin"),
            "0,0,0,0,0,0,#FALSE#,#FALSE#,#FALSE#,#TRUE#,\"0\",\"Text8\",0\r\n");
}

TEST_F(SettingsFilesTest, WriteReadWriteIsByteIdentical) {
  for (int selected = 1; selected <= 4; ++selected) {
    OptionsModel m = Started();
    for (int check : {1, 32, 38, 64, 70}) m.SetCheck(check, 2);
    m.SetOption(selected, true);
    m.SetComboText(1, "joystick, il mio");
    m.SetComboText(4, "");
    m.SetScroll(2, 4);
    m.SetScroll(5, 2);
    m.SetText(5, "");
    m.SetText(15, "240");
    m.SetText(16, "320");
    m.SetText(17, "C:\\Pal, vecchie\\mia palette.pal");
    m.SetText(25, " C:\\Giochi NES\\ ");
    m.SetText(20, "");
    ASSERT_TRUE(SaveSettingsFiles(m, {}).empty());
    const std::string first = AllFiles();

    OptionsModel back = Restarted();
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(back.Option(n), n == selected);
    EXPECT_EQ(back.Scroll(2) * 10 + back.Scroll(5), 42);
    ASSERT_TRUE(SaveSettingsFiles(back, {}).empty());
    EXPECT_EQ(AllFiles(), first) << "Option" << selected;
  }
  EXPECT_NE(ReadBytes("nesticle.config.valmerin").find("\"240\",\"320\""), std::string::npos);
}

TEST_F(SettingsFilesTest, ValueBoxesRestoreTheirBarsWhenInRange) {
  OptionsModel m = Started();
  m.SetText(1, "7");
  m.SetText(2, "12");    // outside VScroll2's 0..5
  m.SetText(3, "ciao");  // no number at all
  m.SetText(4, "100");   // where the bar already stands
  ASSERT_TRUE(SaveSettingsFiles(m, {}).empty());
  OptionsModel back = Restarted();
  EXPECT_EQ(back.Scroll(1) * 1000 + back.Scroll(2) * 100 + back.Scroll(3), 7100);
  EXPECT_EQ(back.Text(1) + back.Text(2) + back.Text(3), "712ciao");
}

TEST_F(SettingsFilesTest, DamagedFilesChangeOnlyWhatTheyCanSay) {
  // Refused and unconvertible values keep their controls; the rest still apply.
  WriteBytes("kgen.config.valmerin",
             "5,#TRUE#,parola,-1,2,1,1,#FALSE#,#FALSE#,0,\"2\",\"x\",9\r\n");
  WriteBytes("ZSNES.CONFIG.VALMERIN", "1\r\n");  // not available: left unread
  WriteBytes("pcengine.config.valmerin", "1,1,1,1,1,2,1,1\r\n2,2\r\n");  // surplus ignored
  OptionsModel m = Restarted({false, true, false, true});
  EXPECT_EQ(m.Check(1), 0);
  EXPECT_EQ(m.Check(70), 2);
  std::string checks;
  for (int n = 33; n <= 38; ++n) checks += std::to_string(m.Check(n));
  EXPECT_EQ(checks, "000021");
  EXPECT_TRUE(m.Option(1));  // a number other than 0 selects
  EXPECT_FALSE(m.Option(4));
  EXPECT_EQ(m.Text(7), "2");
  EXPECT_EQ(m.Scroll(5), 0);  // 9 is outside the bar
}

TEST_F(SettingsFilesTest, AShortFileLeavesTheControlsItDoesNotReach) {
  // A full NESticle record fills the shared buffer first; the short Magic Engine
  // and KGen files must not take values from it.
  OptionsModel writer = Started();
  for (int n = 39; n <= 64; ++n) writer.SetCheck(n, 1);
  ASSERT_TRUE(SaveSettingsFiles(writer, {}).empty());
  WriteBytes("pcengine.config.valmerin", "1,0\r\n");
  WriteBytes("kgen.config.valmerin", "1,1,1\r\n");
  WriteBytes("zsnes.config.valmerin", "");
  OptionsModel m = Started();
  m.SetCheck(67, 1);
  m.SetCheck(38, 2);
  m.SetText(8, "mio");
  ReadSettingsFiles(m, buffer_, kAll);
  for (auto [n, state] : {std::pair{65, 1}, {66, 0}, {67, 1}, {38, 2}}) {
    EXPECT_EQ(m.Check(n), state) << n;
  }
  EXPECT_TRUE(m.Option(4));
  EXPECT_EQ(m.Text(8), "mio");
  EXPECT_EQ(m.ComboText(1), "Tastiera");
  EXPECT_EQ(m.Text(5), "Text5");
}

TEST_F(SettingsFilesTest, UnwritableOrUnstorableFilesAreReportedAndKept) {
  std::filesystem::create_directory("kgen.config.valmerin");
  WriteBytes("nesticle.config.valmerin", "vecchio\r\n");
  OptionsModel m = Started();
  m.SetText(17, "C:\\\"pal\"");
  const std::vector<KeptFile> failed = SaveSettingsFiles(m, {});
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[0].file, "kgen.config.valmerin");
  EXPECT_EQ(failed[1].file, "nesticle.config.valmerin");
  EXPECT_EQ(ReadBytes("nesticle.config.valmerin"), "vecchio\r\n");
  EXPECT_FALSE(ReadBytes("pcengine.config.valmerin").empty());
  EXPECT_TRUE(OptionTextStorable("C:\\Giochi, vecchi\\ è €"));
  for (const char* bad : {"a\"b", "a\nb", "a\rb", "Ω"}) EXPECT_FALSE(OptionTextStorable(bad));
}

TEST_F(SettingsFilesTest, ExitLeavesFilesItDidNotMakeThenWritesTheSettings) {
  // Copy names that no launch of this run made are not ours to delete.
  const std::pair<const char*, const char*> files[] = {
      {"snes/Gioco.smc", "x"}, {"pce/Gioco.PCE", "x"}, {"snes/Mario.smc", "gioco"}};
  for (auto [file, bytes] : files) WriteBytes(file, bytes);
  MainWindowState state;
  EXPECT_TRUE(RunExitSequence(state, Started()).empty());
  for (auto [file, bytes] : files) EXPECT_TRUE(std::filesystem::exists(file)) << file;
  for (const char* name : kFiles) EXPECT_TRUE(std::filesystem::exists(name)) << name;
}

#ifndef _WIN32
// What the user did to a settings file decides what the exit does with it: one
// message names every file kept, and none of them hangs, shifts or loses a byte.
TEST_F(SettingsFilesTest, ExitFilesTheUserProtectedAreKeptAndNamedOnce) {
  namespace fs = std::filesystem;
  WriteBytes("Cartelle.cfg", "\"a/\"\r\n");
  WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
  WriteBytes("zsnes.config.valmerin", "vecchio\r\n");
  fs::permissions("zsnes.config.valmerin", fs::perms::owner_read);
  WriteBytes("salvati/kgen.cfg", "vecchio\r\n");
  fs::create_symlink("salvati/kgen.cfg", "kgen.config.valmerin");
  ASSERT_EQ(mkfifo("nesticle.config.valmerin", 0644), 0);
  const bool root = geteuid() == 0;
  if (!root) {
    WriteBytes("pcengine.config.valmerin", "vecchio\r\n");
    fs::permissions("pcengine.config.valmerin", fs::perms::none);
  }

  MainWindowState state;
  OptionsModel options;
  testing::RecordingHooks window;
  RunStartupSequence(state, options, window);
  std::string kept;
  RunExitSequence(state, options, &kept);
  EXPECT_NE(kept.find("\"zsnes.config.valmerin\": il file è di sola lettura"), kept.npos) << kept;
  EXPECT_EQ(kept.find("kgen.config.valmerin"), kept.npos) << kept;
  EXPECT_NE(kept.find("\"nesticle.config.valmerin\": non è un file normale"), kept.npos) << kept;
  EXPECT_EQ(ReadBytes("zsnes.config.valmerin"), "vecchio\r\n");
  EXPECT_TRUE(fs::is_symlink("kgen.config.valmerin"));
  EXPECT_NE(ReadBytes("salvati/kgen.cfg"), "vecchio\r\n");
  EXPECT_TRUE(fs::is_fifo("nesticle.config.valmerin"));
  if (!root) {
    // Told once, at start; then left as it is, without a second word at exit.
    EXPECT_EQ(std::count_if(window.messages.begin(), window.messages.end(),
                            [](const std::string& m) { return m.find("pcengine") != m.npos; }),
              1);
    EXPECT_EQ(kept.find("pcengine"), std::string::npos);
    fs::permissions("pcengine.config.valmerin", fs::perms::owner_read);
    EXPECT_EQ(ReadBytes("pcengine.config.valmerin"), "vecchio\r\n");
  }
}
#endif

}  // namespace
}  // namespace valmerin
