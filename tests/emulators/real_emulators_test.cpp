// Real DOSBox and real Wine, started through the real launch on recorders of
// ours: what each emulator received, that it could read the game copy, and that
// nothing is left behind. Run by `make test-emulators`, which builds the
// recorders and prepares the Wine prefix once.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "catalogue/main_window_state.h"
#include "hosting/program_start.h"
#include "launch/game_launch.h"
#include "lifecycle/exit_sequence.h"
#include "options/options_model.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

constexpr std::string_view kRom = "\x4e\x45\x53\x1a\x02\x01\x01\x00ROMDATA!";  // 16 bytes

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Starts `game` from `emulator`'s tab, the emulator's folder set to `folderText`,
// as the window does.
LaunchOutcome Launch(MainWindowState& state, Emulator emulator, const std::string& folderText,
                     const std::string& game) {
  state.EmulatorFolder[IndexOf(emulator)] = folderText;
  state.gameLists[IndexOf(emulator)].Add(game, game);
  state.Text1 = game;
  return LaunchGame(state, emulator);
}

class RealEmulatorTest : public testing::FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    if (Env("WINEPREFIX").empty()) GTEST_SKIP() << "run through make test-emulators";
    std::random_device random;
    tag_ = "VT" + std::to_string(random() % 100000);
    driveC_ = fs::path(Env("WINEPREFIX")) / "drive_c";
    fs::create_directories(Root() / "run");
    runtime_.Set((Root() / "run").c_str());
  }
  void TearDown() override {
    std::error_code ec;
    if (!tag_.empty()) {
      fs::remove_all(driveC_ / tag_, ec);
      fs::remove_all(driveC_ / ("Valmerin " + tag_), ec);
    }
    FreshFolderTest::TearDown();
  }

  // The game, stored as an old Windows disk gives it ("Città" in Windows-1252),
  // and the recorder as the emulator's program.
  void Install(const fs::path& folder, const std::string& program, const std::string& recorder) {
    fs::create_directories(folder);
    WriteBytes(folder / "Citt\xe0.NES", kRom);
    fs::copy_file(recorder, folder / program, fs::copy_options::overwrite_existing);
    fs::permissions(folder / program, fs::perms::owner_all, fs::perm_options::add);
  }

  static std::string WaitFor(const fs::path& file, int seconds) {
    std::error_code ec;
    const auto written = [&] { return fs::exists(file, ec) && fs::file_size(file, ec) > 0; };
    if (!testing::WaitUntil(written, seconds * 40)) return "(nothing written)";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it finish writing
    return ReadBytes(file);
  }

  // Ends the run as the window does, then checks that neither the copy nor our
  // DOSBox configuration is left.
  void ExpectNothingLeft(MainWindowState& state, const fs::path& copy) {
    EXPECT_TRUE(testing::WaitUntil([&] { return fs::is_empty(Root() / "run"); }, 800));
    OptionsModel options;
    RunExitSequence(state, options);
    EXPECT_FALSE(fs::exists(copy)) << copy;
  }

  std::string tag_;
  fs::path driveC_;
  testing::ScopedEnv runtime_{"XDG_RUNTIME_DIR"};
};

TEST_F(RealEmulatorTest, DosBoxRunsNesticlesExtenderOnTheCopyNeverWithARedirection) {
  const std::string real = fs::canonical(Root()).string();
  const struct {
    std::string folderText;
    fs::path host;
    std::string tail;
  } cases[] = {
      // A drive folder DOS can name: the whole drive, and its paths as written.
      {"C:\\" + tag_ + "\\", driveC_ / tag_,
       " C:\\" + tag_ + "\\NESticle.exe -run C:\\" + tag_ + "\\Gioco.NES"},
      // Longer than 8.3, with a blank: the folder itself becomes C:.
      {"C:\\Valmerin " + tag_ + "\\NESticle\\", driveC_ / ("Valmerin " + tag_) / "NESticle",
       " C:\\NESticle.exe -run C:\\Gioco.NES"},
      {real + "/Emulatori Vecchi/NESticle è/", Root() / "Emulatori Vecchi/NESticle è",
       " C:\\NESticle.exe -run C:\\Gioco.NES"},
  };
  // The user's own settings come first, even one that takes C: for itself.
  const testing::ScopedEnv home("HOME", (Root() / "casa").c_str());
  fs::create_directories(Root() / "altrove");
  WriteBytes(Root() / "casa/.dosbox/dosbox-0.74-3.conf",
             "[cpu]\ncycles=max\n[autoexec]\nmount c \"" + real + "/altrove\"\nc:\n");
  for (const auto& c : cases) {
    Install(c.host, "Dos4GW.exe", Env("VALMERIN_DOS_RECORDER"));
    WriteBytes(c.host / "NESticle.exe", "");
    WriteBytes(c.host / "Citt\xe0.sav", "vecchio");  // the game's battery save, as the user left it
    MainWindowState state;
    const LaunchOutcome outcome = Launch(state, Emulator::NESticle, c.folderText, "Città.NES");
    ASSERT_TRUE(outcome.started) << outcome.message;
    EXPECT_EQ(WaitFor(c.host / "RICEVUTI.TXT", 30),
              "CODA:" + c.tail + "\r\nGIOCO:" + std::string(kRom))
        << c.folderText;
    ExpectNothingLeft(state, c.host / "Gioco.NES");
    // The save went to the emulator under the copy's name and came back whole.
    EXPECT_EQ(ReadBytes(c.host / "Citt\xe0.sav"), "vecchio" + std::string(kRom)) << c.folderText;
    EXPECT_FALSE(fs::exists(c.host / "Gioco.sav"));
    EXPECT_FALSE(fs::exists(c.host / "GIOCO.SAV"));
  }
  // Nor is DOSBox ever given a redirection.
  const fs::path host = driveC_ / tag_;
  fs::remove(host / "RICEVUTI.TXT");
  const StartOutcome refused =
      StartProgram("C:\\" + tag_ + "\\Dos4GW.exe", {"-v>OUT.TXT", "C:\\" + tag_ + "\\x"}, {1});
  EXPECT_FALSE(refused.started);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_FALSE(fs::exists(host / "OUT.TXT"));
  EXPECT_FALSE(fs::exists(host / "RICEVUTI.TXT"));
  EXPECT_TRUE(fs::is_empty(Root() / "altrove"));
}

TEST_F(RealEmulatorTest, WineRunsZSnesInItsFolderOnTheCopy) {
  const std::string real = fs::canonical(Root()).string();
  std::string hostFolder = "Z:" + real + "/Giochi Belli/ZSnes";
  for (char& c : hostFolder) c = c == '/' ? '\\' : c;
  const struct {
    std::string folderText;
    fs::path host;
    std::string copyArgument;
    std::string folder;
  } cases[] = {
      {"C:\\" + tag_ + "\\", driveC_ / tag_, "C:\\" + tag_ + "\\Gioco.NES", "C:\\" + tag_},
      {real + "/Giochi Belli/ZSnes/", Root() / "Giochi Belli/ZSnes",
       "\"" + hostFolder + "\\Gioco.NES\"", hostFolder},
  };
  for (const auto& c : cases) {
    Install(c.host, "ZSnes.exe", Env("VALMERIN_WINDOWS_RECORDER"));
    MainWindowState state;
    const LaunchOutcome outcome = Launch(state, Emulator::ZSnes, c.folderText, "Città.NES");
    ASSERT_TRUE(outcome.started) << outcome.message;
    const std::string record = WaitFor(c.host / "ricevuti.txt", 120);
    const std::string line = record.substr(0, record.find("\r\n"));
    EXPECT_EQ(line.substr(line.size() - c.copyArgument.size()), c.copyArgument) << record;
    EXPECT_EQ(record.substr(record.find("\r\n")),
              "\r\nCARTELLA:" + c.folder + "\r\nGIOCO:" + std::string(kRom));
    ExpectNothingLeft(state, c.host / "Gioco.NES");
  }
}

TEST_F(RealEmulatorTest, ANativeEmulatorOpensTheCopyByTheHostPathItGets) {
  testing::WriteProgram(
      "emulatori/Nativo/PCE.exe",
      "#!/bin/sh\n{ printf '%s\\n' \"$@\"; pwd; head -c 16 \"$1\"; } > ricevuti.part\n"
      "mv ricevuti.part ricevuti.txt\n");
  WriteBytes("emulatori/Nativo/Citt\xe0.pce", kRom);
  MainWindowState state;
  const LaunchOutcome outcome =
      Launch(state, Emulator::MagicEngine, "emulatori\\Nativo\\", "Città.pce");
  ASSERT_TRUE(outcome.started) << outcome.message;
  const std::string folder = fs::canonical(Root()).string() + "/emulatori/Nativo";
  EXPECT_EQ(WaitFor("emulatori/Nativo/ricevuti.txt", 10),
            folder + "/Gioco.pce\n" + folder + "\n" + std::string(kRom));
  ExpectNothingLeft(state, "emulatori/Nativo/Gioco.pce");
}

}  // namespace
}  // namespace valmerin
