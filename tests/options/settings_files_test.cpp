#include "options/settings_files.h"

#include <gtest/gtest.h>

#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "support/fresh_folder.h"
#include "support/recording_hooks.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace valmerin {
namespace {

constexpr const char* kFiles[] = {"zsnes.config.valmerin", "kgen.config.valmerin",
                                  "nesticle.config.valmerin", "pcengine.config.valmerin"};
constexpr std::array<bool, 4> kAll = {true, true, true, true};

OptionsModel Started() {
  OptionsModel m;
  m.RunWindowStartup();
  return m;
}

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
  OptionsModel m = Started();
  EXPECT_TRUE(RunExitSequence(state, m).empty());
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
    m.SetCheck(1, 2);
    for (int check : {32, 38, 64, 70}) m.SetCheck(check, 2);
    m.SetOption(selected, true);
    m.SetComboText(1, "joystick, il mio");
    m.SetComboText(4, "");
    m.SetScroll(2, 4);
    m.SetScroll(5, 2);
    for (auto [n, text] : {std::pair{5, ""},
                           {15, "240"},
                           {16, "320"},
                           {17, "C:\\Pal, vecchie\\mia palette.pal"},
                           {25, " C:\\Giochi NES\\ "},
                           {20, ""}}) {
      m.SetText(n, text);
    }
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

using ExitSequenceTest = testing::FreshFolderTest;

TEST_F(ExitSequenceTest, LeavesFilesItDidNotMakeThenWritesTheSettings) {
  for (const char* folder : {"snes", "pce"}) std::filesystem::create_directories(folder);
  // Copy names that no launch of this run made are not ours to delete.
  WriteBytes("snes/Gioco.smc", "x");
  WriteBytes("pce/Gioco.PCE", "x");
  WriteBytes("snes/Mario.smc", "gioco");
  MainWindowState state;
  EXPECT_TRUE(RunExitSequence(state, Started()).empty());
  for (const char* file : {"snes/Gioco.smc", "pce/Gioco.PCE", "snes/Mario.smc"}) {
    EXPECT_TRUE(std::filesystem::exists(file)) << file;
  }
  for (const char* name : kFiles) EXPECT_TRUE(std::filesystem::exists(name)) << name;
}

#ifndef _WIN32
// What the user did to a settings file decides what the exit does with it: one
// message names every file kept, and none of them hangs, shifts or loses a byte.
TEST_F(ExitSequenceTest, FilesTheUserProtectedAreKeptAndNamedOnce) {
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

  const std::pair<const char*, const char*> cases[] = {
      // file, why kept; nullptr: written
      {"zsnes.config.valmerin", "il file è di sola lettura"},
      {"kgen.config.valmerin", nullptr},
      {"nesticle.config.valmerin", "non è un file normale"},
  };
  MainWindowState state;
  OptionsModel options;
  testing::RecordingHooks window;
  RunStartupSequence(state, options, window);
  std::string kept;
  RunExitSequence(state, options, &kept);
  for (auto [file, why] : cases) {
    SCOPED_TRACE(file);
    if (why == nullptr) {
      EXPECT_EQ(kept.find(file), std::string::npos) << kept;
    } else {
      EXPECT_NE(kept.find(std::string("\"") + file + "\": " + why), std::string::npos) << kept;
    }
  }
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
