#include "hosting/dos_launch.h"

#include <gtest/gtest.h>

#include <string>

#include "hosting/executable_kind.h"
#include "hosting/wine_paths.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;
using testing::MzImage;

using ExecutableKindTest = testing::FreshFolderTest;

TEST_F(ExecutableKindTest, HeaderDecidesWindowsDosOrOther) {
  struct Case {
    const char* name;
    std::string bytes;
    ExecutableKind expected;
  };
  const Case cases[] = {
      {"pe.exe", MzImage(std::string("PE\0\0", 4)), ExecutableKind::kWindows},
      {"pe-far.exe", MzImage(std::string("PE\0\0", 4), 0x200, 0x300), ExecutableKind::kWindows},
      {"ne.exe", MzImage("NE"), ExecutableKind::kWindows},
      {"extender.exe", MzImage("LE"), ExecutableKind::kDos},
      {"pe-lowercase.exe", MzImage(std::string("pe\0\0", 4)), ExecutableKind::kDos},
      {"pe-no-nulls.exe", MzImage("PEXX"), ExecutableKind::kDos},
      {"beyond-end.exe", MzImage("", 0x7FFFFFF0), ExecutableKind::kDos},
      {"tiny.com", "MZ\x90", ExecutableKind::kDos},
      {"header-cut.exe", MzImage(std::string("PE\0\0", 4)).substr(0, 0x42), ExecutableKind::kDos},
      {"script.sh", "#!/bin/sh\n", ExecutableKind::kOther},
      {"zm.exe", "ZM" + std::string(0x80, '\0'), ExecutableKind::kOther},
      {"empty", "", ExecutableKind::kOther},
  };
  for (const Case& c : cases) {
    WriteBytes(c.name, c.bytes);
    EXPECT_EQ(ReadExecutableHeader(c.name).kind, c.expected) << c.name;
  }
  EXPECT_EQ(ReadExecutableHeader("missing.exe").kind, ExecutableKind::kOther);
}

#ifndef _WIN32

class DosPlanTest : public testing::FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    testing::MakeWinePrefix(Root() / "prefix");
    prefix_.Set((Root() / "prefix").c_str());
    WriteBytes(Root() / "prefix/drive_c/NESticle/DOS4GW.EXE", MzImage("LE"));
  }
  std::string Real() const { return fs::canonical(Root()).string(); }

  testing::ScopedEnv prefix_{"WINEPREFIX"};
};

// The program's drive of the prefix, or its own folder, becomes C:; other folders
// are mounted from D: on; a long name is reached through its own folder or refused.
TEST_F(DosPlanTest, ProgramAndArgumentsAreMountedAndNamedForDosOrRefused) {
  for (const char* file :
       {"Fuori/Gioco.nes", "prefix/drive_c/NESticle/Gioco.nes", "Emu Vecchio/Giochi/Gioco.nes",
        "prefix/drive_c/Giochi/Altro.nes", "prefix/drive_c/Emulatori/NESticle/NESticle.exe",
        "Cartella Lunga/Gioco.nes", "Fuori/Nome lungo.nes"}) {
    WriteBytes(file, "");
  }
  WriteBytes("Emu Vecchio/DOS4GW.EXE", MzImage("LE"));
  WriteBytes("prefix/drive_c/Emulatori/NESticle/DOS4GW.EXE", MzImage("LE"));
  const std::string root = Root().string();
  const std::string mountC = "mount -u C\nmount C \"" + Real();
  const std::string longC = mountC + "/prefix/drive_c/Emulatori/NESticle\"\n";
  const std::string emulatori = "C:\\Emulatori\\NESticle\\DOS4GW.EXE";
  const struct {
    std::string program;
    std::vector<std::string> arguments;
    std::vector<std::size_t> paths;
    std::size_t mounts;
    std::string text;              // between "[autoexec]\n" and "exit\n"
    std::string unreachable = {};  // the argument it cannot reach, if any
  } cases[] = {
      {"C:\\NESticle\\Dos4GW.exe",
       {"NESticle.exe", "-run", Real() + "/prefix/drive_c/NESticle/Gioco.nes", "/s",
        root + "/Fuori/Gioco.nes", Real() + "/Fuori/Nuovo.nes", "C:/NESticle/x.cfg"},
       {},
       2,
       mountC + "/prefix/drive_c\"\nmount -u D\nmount D \"" + Real() +
           "/Fuori\"\nC:\ncd \\NESticle\nDos4GW.exe NESticle.exe -run C:\\NESticle\\Gioco.nes /s "
           "D:\\Gioco.nes D:\\Nuovo.nes C:\\NESticle\\x.cfg\n"},
      // No E: in the prefix: nothing to mount.
      {root + "/emu vecchio/dos4gw.exe",
       {root + "/Emu Vecchio/Giochi/Gioco.nes", "E:\\Giochi\\Altro.nes", "50%"},
       {},
       1,
       mountC + "/Emu Vecchio\"\nC:\ncd \\\nDOS4GW.EXE C:\\Giochi\\Gioco.nes E:\\Giochi\\Altro.nes "
                "50%%\n"},
      {emulatori,
       {"C:\\Emulatori\\NESticle\\NESticle.exe", "-run", "c:\\emulatori\\nesticle\\gioco.nes"},
       {0, 2},
       1,
       longC + "C:\ncd \\\nDOS4GW.EXE C:\\NESticle.exe -run C:\\gioco.nes\n"},
      {emulatori,
       {root + "/Cartella Lunga/Gioco.nes", "C:\\Lungo Nome\\x"},
       {0},
       2,
       longC + "mount -u D\nmount D \"" + Real() +
           "/Cartella Lunga\"\nC:\ncd \\\nDOS4GW.EXE D:\\Gioco.nes C:\\Lungo Nome\\x\n"},
      {emulatori, {root + "/Fuori/Nome lungo.nes"}, {0}, 0, "", root + "/Fuori/Nome lungo.nes"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.arguments.front());
    const std::optional<DosCommand> command =
        PlanDosCommand(test.program, test.arguments, test.paths);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->unreachable, test.unreachable);
    if (!test.unreachable.empty()) continue;
    ASSERT_EQ(command->mounts.size(), test.mounts);
    const std::optional<std::string> text = DosBoxConfiguration(*command);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "[autoexec]\n" + test.text + "exit\n");
  }
  // Texts that would change the script are refused.
  DosCommand command = *PlanDosCommand("C:\\NESticle\\DOS4GW.EXE", {"a\nexit"});
  EXPECT_FALSE(DosBoxConfiguration(command));
  command.arguments = {"a\rb"};
  EXPECT_FALSE(DosBoxConfiguration(command));
  command.arguments.clear();
  command.mounts.front().hostFolder = "/giochi/\"quote\"";
  EXPECT_FALSE(DosBoxConfiguration(command));
  // A drive that the prefix does not have cannot be mounted.
  EXPECT_FALSE(PlanDosCommand("Q:\\NESticle\\DOS4GW.EXE", {}));
}

TEST_F(DosPlanTest, WineSeesHostPathsOnZ) {
  WriteBytes("Giochi Belli/Gioco.smc", "");
  const std::string game = Root().string() + "/Giochi Belli/Gioco.smc";
  std::string wine = "Z:" + game;
  for (char& c : wine) c = c == '/' ? '\\' : c;
  EXPECT_EQ(WineArgument(game), wine);
  // Not there yet, but its folder is: still a path.
  EXPECT_EQ(WineArgument(Root().string() + "/nuovo.cfg").substr(0, 3), "Z:\\");
  for (const char* kept : {"/s", "/w/p", "-0", "C:\\ZSnes\\Gioco.smc", "relativo/x", ""}) {
    EXPECT_EQ(WineArgument(kept), kept);
  }
}

#else

TEST(DosPlan, WindowsProgramRunsFromItsDrive) {
  const std::optional<DosCommand> command =
      PlanDosCommand("C:\\windows\\Vecchio\\DOS4GW.EXE", {"C:\\Giochi\\x.nes", "-run"});
  ASSERT_TRUE(command);
  EXPECT_EQ(*DosBoxConfiguration(*command),
            "[autoexec]\nmount -u C\nmount C \"C:\\\"\nC:\ncd \\windows\\Vecchio\n"
            "DOS4GW.EXE C:\\Giochi\\x.nes -run\nexit\n");
}

#endif

}  // namespace
}  // namespace valmerin
