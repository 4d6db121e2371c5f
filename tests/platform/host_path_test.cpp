#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "hosting/path_forms.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/file_io.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using CurrentFolderTest = testing::FreshFolderTest;

TEST_F(CurrentFolderTest, FindsAFileInAnyLetterCaseTheExactSpellingFirst) {
  WriteBytes("Cartelle.cfg", "x");
  for (const char* name : {"Cartelle.cfg", "cartelle.cfg", "CARTELLE.CFG"}) {
    const std::optional<fs::path> found = FindInCurrentFolder(name);
    ASSERT_TRUE(found.has_value()) << name;
    EXPECT_EQ(found->filename().string(), "Cartelle.cfg");
    EXPECT_EQ(CurrentFolderFileForWriting(name).filename().string(), "Cartelle.cfg");
  }
  EXPECT_EQ(CurrentFolderFileForWriting("Nuovo.emu"), fs::path("Nuovo.emu"));
  EXPECT_EQ(FindInCurrentFolder("Nuovo.emu"), std::nullopt);
  // Folders and hidden files are not found.
  fs::create_directory("parametri");
  EXPECT_EQ(FindInCurrentFolder("Parametri"), std::nullopt);
  EXPECT_EQ(FindInCurrentFolder("parametri"), std::nullopt);
#ifdef _WIN32
  WriteBytes("Nascosto.emu", "x");
  SetFileAttributesW(L"Nascosto.emu", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(FindInCurrentFolder("nascosto.emu"), std::nullopt);
#else
  WriteBytes(".nascosto", "x");
  EXPECT_EQ(FindInCurrentFolder(".nascosto"), std::nullopt);
  // Among several spellings the exact one wins.
  WriteBytes("disponibili.emu", "lower");
  WriteBytes("Disponibili.emu", "capital");
  WriteBytes("DISPONIBILI.EMU", "upper");
  EXPECT_EQ(ReadBytes(*FindInCurrentFolder("Disponibili.emu")), "capital");
  EXPECT_EQ(ReadBytes(*FindInCurrentFolder("disponibili.emu")), "lower");
  EXPECT_EQ(CurrentFolderFileForWriting("DISPONIBILI.EMU"), fs::path("DISPONIBILI.EMU"));
  EXPECT_TRUE(FindInCurrentFolder("DisponibilI.emu").has_value());
#endif
}

#ifdef _WIN32

TEST_F(CurrentFolderTest, WindowsKeepsTheStoredSpellingWhenReplacing) {
  WriteBytes("Cartelle.cfg", "C:\\ZSnes\\\r\n");
  EXPECT_EQ(ReadWholeFile(ToHostPath("CARTELLE.CFG")), "C:\\ZSnes\\\r\n");
  ASSERT_TRUE(ReplaceFileAtomically(CurrentFolderFileForWriting("cartelle.cfg"), "C:\\X\\\r\n"));
  const std::vector<fs::path> entries{fs::directory_iterator("."), fs::directory_iterator()};
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.front().filename().string(), "Cartelle.cfg");
  EXPECT_EQ(ReadBytes("Cartelle.cfg"), "C:\\X\\\r\n");
}

#else

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

class WinePrefixTest : public testing::FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    testing::MakeWinePrefix(Root() / "prefix");
    prefix_.Set((Root() / "prefix").c_str());
  }
  testing::ScopedEnv prefix_{"WINEPREFIX"};
};

// Wine never goes above C:\, whatever the text says; a long text resolves in linear time.
TEST_F(WinePrefixTest, DriveLettersGoThroughThePrefixWithoutRegardToCaseNorAboveItsRoot) {
  const fs::path file = Root() / "prefix/drive_c/KGen/KGen98.exe";
  WriteBytes(file, "MZ");
  for (const char* text :
       {"C:\\KGen\\KGen98.exe", "c:\\kgen\\Kgen98.exe", "C:/KGEN/KGEN98.EXE",
        "C:\\\\KGen\\.\\KGen98.exe", "C:\\..\\KGen\\KGen98.exe",
        "C:\\KGen\\..\\..\\..\\KGen\\KGen98.exe", "c:/x/../../kgen/./kgen98.exe"}) {
    EXPECT_TRUE(SameFile(ToHostPath(text), file)) << text << " -> " << ToHostPath(text);
  }
  EXPECT_TRUE(SameFile(ToHostPath("C:"), Root() / "prefix/drive_c"));
  EXPECT_TRUE(SameFile(ToHostPath("C:\\"), Root() / "prefix/drive_c"));
  // What does not exist keeps its spelling, below the part that does.
  EXPECT_EQ(ToHostPath("C:\\kgen\\Nuovo\\Gioco.smc"),
            Root() / "prefix/dosdevices/c:/KGen/Nuovo/Gioco.smc");
  EXPECT_EQ(ToHostPath("Q:\\x"), Root() / "prefix/dosdevices/q:/x");
  std::string longText = "C:\\";
  for (int i = 0; i < 100000; ++i) longText += "Cartella\\";
  const auto start = std::chrono::steady_clock::now();
  const fs::path host = ToHostPath(longText);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(host.string().size(), (Root() / "prefix/dosdevices/c:/").string().size() + 900000);
  // Without WINEPREFIX, Wine's default prefix in the home folder.
  unsetenv("WINEPREFIX");
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(ToHostPath("Z:\\surely-not-there").string(),
            (fs::path(home) / ".wine/dosdevices/z:/surely-not-there").string());
}

// Names from old Windows disks are reached by their Windows-1252 text.
TEST_F(CurrentFolderTest, HostAndRelativePathsMatchComponentsWithoutRegardToCase) {
  WriteBytes("KGen/KGen98.exe", "x");
  WriteBytes("KGen/kgen98.exe", "other");
  WriteBytes("Sub Folder/Dentro/file.TXT", "y");
  WriteBytes("Giochi/Citt\xe0.NES", "cp1252");
  WriteBytes("Giochi/\x8aogno \x9c.smc", "caron");
  const std::pair<std::string, const char*> cases[] = {
      {"kgen\\Kgen98.exe", "x"},  // the first in byte order
      {"KGen\\kgen98.exe", "other"},
      {"sub folder\\DENTRO\\File.txt", "y"},
      {(Root() / "SUB FOLDER/dentro/file.txt").string(), "y"},
      {"Giochi\\Città.NES", "cp1252"},
      {"giochi\\CITTÀ.nes", "cp1252"},
      {"Giochi\\Šogno œ.smc", "caron"},
      {"Giochi\\šOGNO Œ.SMC", "caron"},
  };
  for (const auto& [text, content] : cases) EXPECT_EQ(ReadBytes(ToHostPath(text)), content) << text;
  EXPECT_EQ(ToHostPath("Sub Folder\\"), fs::path("Sub Folder/"));
  EXPECT_EQ(ToHostPath("missing\\x.smc"), fs::path("missing/x.smc"));
}

#endif

}  // namespace
}  // namespace valmerin
