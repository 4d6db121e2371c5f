// On Windows this test program doubles as the stand-in emulator: copied under an
// emulator's name, it writes the arguments it was started with and ends.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>

#include "launch/game_launch.h"
#include "launch_test_support.h"

namespace valmerin {
namespace {

std::filesystem::path OwnProgram() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length));
}

bool ActAsStandInWhenRenamed() {
  const std::filesystem::path self = OwnProgram();
  if (self.filename() != "ZSnes.exe") return false;
  const std::filesystem::path part = self.wstring() + L".args.part";
  {
    std::ofstream out(part, std::ios::binary);
    for (int i = 1; i < __argc; ++i) out << __argv[i] << '\n';
  }
  MoveFileExW(part.c_str(), (self.wstring() + L".args").c_str(), MOVEFILE_REPLACE_EXISTING);
  std::_Exit(0);
}

const bool kStandIn = ActAsStandInWhenRenamed();

using WindowsLaunchTest = testing::LaunchFolderTest;

TEST_F(WindowsLaunchTest, StartsTheEmulatorOnTheCopyWithItsSwitches) {
  const std::string folder = MakeFolder("ZSnes");
  std::filesystem::copy_file(OwnProgram(), folder + "ZSnes.exe");
  WriteBytes(folder + "Mario.smc", "rom");
  WriteBytes("parametri", "\"-0 -m \"\r\n");
  MainWindowState state = testing::WithGame(Emulator::ZSnes, folder, "Mario.smc");

  const LaunchOutcome outcome = LaunchGame(state, Emulator::ZSnes);
  ASSERT_TRUE(outcome.started) << outcome.message;
  EXPECT_EQ(outcome.commandLine, folder + "ZSnes.exe -0 -m " + folder + "Gioco.smc");
  EXPECT_EQ(WaitForArguments(folder + "ZSnes.exe", std::chrono::seconds(30)),
            (std::vector<std::string>{"-0", "-m", folder + "Gioco.smc"}));
}

}  // namespace
}  // namespace valmerin
#endif
