// A game copy held open without sharing, as a running emulator holds it: the next
// launch must not start the emulator on whatever the file holds, must say why, and
// must leave the locked file as it is.
#ifdef _WIN32
#include <windows.h>

#include "catalogue/main_window_state.h"
#include "catalogue/rom_scan.h"
#include "launch/game_launch.h"
#include "lifecycle/exit_sequence.h"
#include "options/options_model.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

// Opened with share mode 0 for as long as it lives.
class LockedFile {
 public:
  explicit LockedFile(const fs::path& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~LockedFile() { Release(); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class LockedCopy : public FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    folder_ = Root() / "zsnes";
    fs::create_directories(folder_);
    // A real program that ends at once whatever it is given, so a start shows as one.
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    fs::copy_file(fs::path(std::wstring(system, length)) / L"hostname.exe", folder_ / "ZSnes.exe");
    WriteBytes(folder_ / "Gioco.sfc", "sfc rom");
    WriteBytes(folder_ / "Mario.smc", "mario rom");
    state_.EmulatorFolder[IndexOf(Emulator::ZSnes)] = folder_.string() + "\\";
    ASSERT_TRUE(ScanInto(state_.gameLists, state_.EmulatorFolder, state_.descriptions,
                         {true, false, false, false}));
  }

  fs::path Copy() const { return folder_ / "Gioco.smc"; }

  fs::path folder_;
  MainWindowState state_;
  OptionsModel options_;
};

TEST_F(LockedCopy, CopyThisRunMadeIsLockedByTheRunningEmulator) {
  state_.Text1 = "Mario.smc";
  const LaunchOutcome first = LaunchGame(state_, Emulator::ZSnes);
  ASSERT_TRUE(first.started) << first.message;
  ASSERT_EQ(ReadBytes(Copy()), "mario rom");

  // The user picks another game while the emulator still holds the first copy.
  WriteBytes(folder_ / "Zelda.smc", "zelda rom");
  state_.Text1 = "Zelda.smc";
  state_.gameLists[0].Add("Zelda.smc", "Zelda.smc");  // as a refresh would list it
  LockedFile lock(Copy());
  ASSERT_TRUE(lock.Held());
  const LaunchOutcome second = LaunchGame(state_, Emulator::ZSnes);
  EXPECT_FALSE(second.started);
  // The first game's names are still out while its copy is held: the message says
  // which game holds them.
  EXPECT_NE(second.message.find("Mario.smc"), std::string::npos) << second.message;

  // The exit cannot delete the held copy; it still writes the settings.
  EXPECT_TRUE(RunExitSequence(state_, options_).empty());
  lock.Release();
  EXPECT_EQ(ReadBytes(Copy()), "mario rom");
  EXPECT_EQ(ReadBytes(folder_ / "Zelda.smc"), "zelda rom");
  EXPECT_EQ(ReadBytes(folder_ / "Mario.smc"), "mario rom");
}

TEST_F(LockedCopy, LockedFileOfTheCopyNameThisRunDidNotMake) {
  WriteBytes(Copy(), "the user's own game");
  state_.Text1 = "Mario.smc";
  {
    LockedFile lock(Copy());
    ASSERT_TRUE(lock.Held());
    ExpectRefusal(LaunchGame(state_, Emulator::ZSnes), {"Gioco.smc"});
    EXPECT_TRUE(RunExitSequence(state_, options_).empty());
  }
  EXPECT_EQ(ReadBytes(Copy()), "the user's own game");
  EXPECT_FALSE(state_.copies.CopyOf(Emulator::ZSnes));

  // A file that carries a copy name is never listed, so never launched; the launch
  // moved it aside whole, under a name that says what it is.
  EXPECT_FALSE(state_.gameLists[0].FindFile("Gioco.sfc"));
  EXPECT_FALSE(fs::exists(folder_ / "Gioco.sfc"));
  EXPECT_EQ(ReadBytes(folder_ / "Gioco (file di un gioco sconosciuto).sfc"), "sfc rom");
}

}  // namespace
}  // namespace valmerin::testing
#endif
