// Where DOSBox is found, and what it is handed on Windows.
#include <gtest/gtest.h>

#include <optional>

#include "hosting/program_start.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using DosBoxFindingTest = testing::FreshFolderTest;

TEST_F(DosBoxFindingTest, InstallFoldersOfEachDosBoxAreTriedInOrder) {
  struct Case {
    const char* name;
    std::vector<const char*> files;  // under the roots "uno" and "due"
    std::optional<const char*> expected;
  };
  const Case cases[] = {
      {"nothing installed", {}, std::nullopt},
      {"the newest DOSBox version wins",
       {"uno/DOSBox-0.74/DOSBox.exe", "uno/DOSBox-0.74-3/DOSBox.exe"},
       "uno/DOSBox-0.74-3/DOSBox.exe"},
      {"a version folder without its program does not count",
       {"uno/DOSBox-0.75/leggimi.txt", "uno/DOSBox-0.74-3/DOSBox.exe"},
       "uno/DOSBox-0.74-3/DOSBox.exe"},
      {"DOSBox Staging", {"uno/DOSBox Staging/dosbox.exe"}, "uno/DOSBox Staging/dosbox.exe"},
      {"DOSBox-X", {"uno/DOSBox-X/dosbox-x.exe"}, "uno/DOSBox-X/dosbox-x.exe"},
      {"DOSBox before Staging before DOSBox-X in one root",
       {"uno/DOSBox-X/dosbox-x.exe", "uno/DOSBox Staging/dosbox.exe", "uno/DOSBox-0.74/DOSBox.exe"},
       "uno/DOSBox-0.74/DOSBox.exe"},
      {"the first root that has one",
       {"due/DOSBox-0.74/DOSBox.exe", "uno/DOSBox-X/dosbox-x.exe"},
       "uno/DOSBox-X/dosbox-x.exe"},
      {"a later root when the first has none",
       {"uno/Altro/dosbox.exe", "due/DOSBox Staging/dosbox.exe"},
       "due/DOSBox Staging/dosbox.exe"},
      {"a folder named like the program is no program",
       {"uno/DOSBox-X/dosbox-x.exe/x"},
       std::nullopt},
  };
  for (const Case& c : cases) {
    fs::remove_all("uno");
    fs::remove_all("due");
    fs::create_directories("uno");
    fs::create_directories("due");
    for (const char* file : c.files) WriteBytes(file, "MZ");
    const std::optional<fs::path> found = FindInstalledDosBox({Root() / "uno", Root() / "due"});
    if (c.expected) {
      ASSERT_TRUE(found.has_value()) << c.name;
      EXPECT_TRUE(fs::equivalent(*found, Root() / *c.expected)) << c.name << ": " << *found;
    } else {
      EXPECT_FALSE(found.has_value()) << c.name << ": " << found.value_or("");
    }
  }
  EXPECT_FALSE(FindInstalledDosBox({Root() / "manca"}).has_value());
}

#ifdef _WIN32

std::wstring Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? value : L"";
}

// 64-bit Windows cannot run DOS programs: DOSBox gets the user's settings, then
// ours with the emulator's drive mounted under its Windows path as it is.
TEST_F(DosBoxFindingTest, DosProgramsStartInDosBoxWithTheUsersSettingsFirst) {
  fs::create_directories("bin");
  fs::copy_file(testing::StandIn("dosbox_recorder"), "bin/dosbox.exe");
  WriteBytes("Locale/DOSBox/dosbox-0.74-3.conf", "[sdl]\nfullscreen=true\n");
  WriteBytes("Giochi Vecchi/NESTICLE/DOS4GW.EXE", testing::MzImage("", 0));  // "MZ" and no more
  WriteBytes("Giochi Vecchi/NESTICLE/GIOCO.NES", "");
  const std::wstring savedPath = Environment(L"PATH");
  const std::wstring savedLocal = Environment(L"LOCALAPPDATA");
  _wputenv_s(L"PATH", (Root() / "bin").wstring().c_str());
  _wputenv_s(L"LOCALAPPDATA", (Root() / "Locale").wstring().c_str());
  const std::string folder = (Root() / "Giochi Vecchi" / "NESTICLE").string();
  const StartOutcome outcome =
      StartProgram(folder + "\\DOS4GW.EXE", {"NESTICLE.EXE", folder + "\\GIOCO.NES"}, {1});
  _wputenv_s(L"PATH", savedPath.c_str());
  _wputenv_s(L"LOCALAPPDATA", savedLocal.c_str());
  ASSERT_TRUE(outcome.started) << outcome.error;

  const fs::path report = Root() / "Giochi Vecchi" / "NESTICLE" / "dosbox_ricevuti.txt";
  testing::WaitUntil([&] { return fs::exists(report); }, 400);
  const std::string received = ReadBytes(report);
  const std::string user = (Root() / "Locale" / "DOSBox" / "dosbox-0.74-3.conf").string();
  const size_t userAt = received.find("CONF:" + user + "\n[sdl]\nfullscreen=true\n");
  const size_t oursAt = received.find("CONF:", userAt + 1);
  ASSERT_NE(userAt, std::string::npos) << received;
  ASSERT_NE(oursAt, std::string::npos) << received;
  EXPECT_NE(received.find(" -exit\n"), std::string::npos) << received;
  const std::string ours = received.substr(received.find('\n', oursAt) + 1);
  EXPECT_EQ(ours, "[autoexec]\nmount -u C\nmount C \"" + folder +
                      "\"\nC:\ncd \\\nDOS4GW.EXE NESTICLE.EXE C:\\GIOCO.NES\nexit\n");
  // Once DOSBox has ended, our configuration is gone.
  const fs::path oursFile = received.substr(oursAt + 5, received.find('\n', oursAt) - oursAt - 5);
  EXPECT_TRUE(testing::WaitUntil([&] { return !fs::exists(oursFile); })) << oursFile;
}

// The start watch sees an emulator that fails at once, on Windows too, and
// DOSBox is watched like any other program.
TEST_F(DosBoxFindingTest, AProgramThatEndsAtOnceIsSeenEnded) {
  struct Case {
    const char* name;
    const char* standIn;
    bool dos;
    bool failed;
    int code;
  };
  const Case cases[] = {
      {"a Windows program that fails", "end_at_once", false, true, 3},
      {"a Windows program that succeeds", "dosbox_recorder", false, false, 0},
      {"DOSBox for a DOS program", "dosbox_recorder", true, false, 0},
  };
  const std::wstring savedPath = Environment(L"PATH");
  for (const Case& c : cases) {
    fs::remove_all("Emu");
    // The stand-in is the program itself, or the DOSBox that runs it.
    const fs::path standIn = c.dos ? "bin/dosbox.exe" : "Emu/Emu.exe";
    fs::create_directories(standIn.parent_path());
    fs::copy_file(testing::StandIn(c.standIn), standIn, fs::copy_options::overwrite_existing);
    if (c.dos) {
      WriteBytes("Emu/EMU.EXE", testing::MzImage("", 0));
      _wputenv_s(L"PATH", (Root() / "bin").wstring().c_str());
    }
    StartOutcome outcome = StartProgram(c.dos ? "Emu\\EMU.EXE" : "Emu\\Emu.exe", {});
    _wputenv_s(L"PATH", savedPath.c_str());
    ASSERT_TRUE(outcome.started) << c.name << ": " << outcome.error;
    ASSERT_NE(outcome.watch, nullptr) << c.name;
    const auto ended = testing::WaitForEnd(*outcome.watch);
    ASSERT_TRUE(ended.has_value()) << c.name;
    EXPECT_EQ(ended->failed, c.failed) << c.name;
    EXPECT_EQ(ended->code, c.code) << c.name;
  }
}

#endif

}  // namespace
}  // namespace valmerin
