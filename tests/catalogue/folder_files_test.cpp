#include "catalogue/folder_files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "options/options_model.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {

class FolderFilesTest : public testing::FreshFolderTest {};

TEST_F(FolderFilesTest, FoldersReadInFileOrderAndDefaultsFillOnlyEmptyOnes) {
  Folders none, two, four;
  EXPECT_FALSE(ReadFolderFile(none));
  ApplyDefaultFolders(none);  // tab order: ZSnes, KGen, NESticle, Magic Engine
  EXPECT_EQ(none, (Folders{"C:\\ZSnes\\", "C:\\KGen\\", "C:\\NESticle\\", "C:\\PCE\\"}));

  WriteBytes("Cartelle.cfg", "\"a\\\"\r\n\"b\"\r\n");
  ASSERT_TRUE(ReadFolderFile(two));
  ApplyDefaultFolders(two);
  EXPECT_EQ(two, (Folders{"a\\", "C:\\KGen\\", "b", "C:\\PCE\\"}));

  std::filesystem::remove("Cartelle.cfg");
  WriteBytes("CARTELLE.CFG", "\"z\"\r\n\"\"\r\n\"k\"\r\n\" \"\r\n");
  ASSERT_TRUE(ReadFolderFile(four));
  ApplyDefaultFolders(four);
  EXPECT_EQ(four, (Folders{"z", "k", "C:\\NESticle\\", " "}));
}

TEST_F(FolderFilesTest, AvailabilityIsANumberOtherThanZeroInFileOrder) {
  const std::pair<const char*, std::array<bool, 4>> cases[] = {
      {"0,1,1,0\r\n", {false, true, true, false}},  // tab order of the result
      {"1\r\n", {true, false, false, false}},
      {"2,,abc,-1\r\n", {true, false, false, true}},
      // Hand edits: any number but 0, however written; a quoted number too.
      {"0.4,99999,\" 1\",0.0\r\n", {true, true, true, false}},
  };
  for (auto [file, expected] : cases) {
    WriteBytes("Disponibili.emu", file);
    Availability available;
    ReadAvailabilityFile(available);
    for (int i = 0; i < kEmulatorCount; ++i)
      EXPECT_EQ(IsAvailable(available[i]), expected[i]) << file;
  }
}

TEST_F(FolderFilesTest, WritersReadBackAndReplaceTheOtherSpelling) {
  WriteBytes("Disponibili.emu", "0,0,0,0\r\n");
  ASSERT_EQ(WriteAvailabilityFile({1, 0, 2, 0}), SaveResult::Saved);
  EXPECT_EQ(ReadBytes("Disponibili.emu"), "1,2,0,0\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);

  const Folders written{"C:\\Giochi\\", "K\\", "", "C:\\Magic, Engine\\"};
  ASSERT_EQ(WriteFolderFile(written), SaveResult::Saved);
  EXPECT_EQ(ReadBytes("Cartelle.cfg"),
            "\"C:\\Giochi\\\"\r\n\"\"\r\n\"K\\\"\r\n\"C:\\Magic, Engine\\\"\r\n");
  Folders read;
  ASSERT_TRUE(ReadFolderFile(read));
  EXPECT_EQ(read, written);

  // A folder that would shift the others at the next start is refused whole.
  EXPECT_EQ(WriteFolderFile({"a\"b", "", "", ""}), SaveResult::Unencodable);
  EXPECT_EQ(WriteFolderFile({"日本", "", "", ""}), SaveResult::Unencodable);
  ASSERT_TRUE(ReadFolderFile(read));
  EXPECT_EQ(read, written);
}

// The start-up and the options window read one file and mean the same by each
// value, so the next OK never switches an emulator off (or on) behind the user.
TEST_F(FolderFilesTest, StartUpAndOptionsWindowAgreeOnTheFileAndItsValues) {
  const std::pair<const char*, bool> cases[] = {
      {"0.4", true}, {"\"0.4\"", true}, {"\"99999\"", true}, {"99999", true},
      {"-3", true},  {"2", true},       {"0", false},        {"\"0\"", false},
  };
  for (auto [value, available] : cases) {
    WriteBytes("Disponibili.emu", std::string(value) + ",0,0,0\r\n");
    Availability read;
    ReadAvailabilityFile(read);
    OptionsModel options;
    options.RunWindowStartup();
    EXPECT_EQ(IsAvailable(read[0]), available) << value;
    EXPECT_EQ(options.Check(71) != 0, available) << value;
  }

#ifndef _WIN32  // where names differ in letter case only, both can be there
  // Both spellings present: OK writes the one the start-up reads.
  WriteBytes("disponibili.emu", "0,0,0,0\r\n");
  ASSERT_EQ(WriteAvailabilityFile({1, 0, 0, 0}), SaveResult::Saved);
  Availability read;
  ReadAvailabilityFile(read);
  EXPECT_TRUE(IsAvailable(read[IndexOf(Emulator::ZSnes)]));
  EXPECT_EQ(ReadBytes("disponibili.emu"), "0,0,0,0\r\n");

  // A folder file that cannot be read is no folder file: nothing is available.
  if (geteuid() != 0) {
    WriteBytes("Cartelle.cfg", "\"C:\\Z\\\"\r\n");
    std::filesystem::permissions("Cartelle.cfg", std::filesystem::perms::none);
    Folders folders;
    EXPECT_FALSE(ReadFolderFile(folders));
    std::filesystem::permissions("Cartelle.cfg", std::filesystem::perms::owner_all);
  }
#endif
}

}  // namespace
}  // namespace valmerin
