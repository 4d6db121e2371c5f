#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "platform/folder_search.h"
#include "platform/host_path.h"
#include "platform/temp_folder.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using FileIoTest = testing::TempFolderTest;

size_t EntriesInCurrentFolder() {
  return static_cast<size_t>(std::distance(fs::directory_iterator("."), fs::directory_iterator()));
}

TEST_F(FileIoTest, ReadsBytesExactly) {
  const std::string bytes("riga 1\r\nriga\0 2\r\n\x80\xFF", 19);
  Put("dati", bytes);
  EXPECT_EQ(ReadWholeFile("dati"), bytes);
  EXPECT_EQ(ReadWholeFile("manca"), std::nullopt);
  fs::create_directory("cartella");
  EXPECT_EQ(ReadWholeFile("cartella"), std::nullopt);
}

TEST_F(FileIoTest, ReplaceWritesWholeAndLeavesNoTemporary) {
  Put("parametri", "una riga molto più lunga del nuovo contenuto\r\n");
  ASSERT_TRUE(ReplaceFileAtomically("parametri", "-0 \r\n"));
  EXPECT_EQ(Get("parametri"), "-0 \r\n");
  ASSERT_TRUE(ReplaceFileAtomically("nuovo", ""));
  EXPECT_EQ(Get("nuovo"), "");
  EXPECT_EQ(EntriesInCurrentFolder(), 2u);
}

TEST_F(FileIoTest, FailedReplaceLeavesTheOldFile) {
  EXPECT_FALSE(ReplaceFileAtomically("manca/parametri", "x"));
  EXPECT_FALSE(fs::exists("manca"));

  fs::create_directory("Cartelle.cfg");
  EXPECT_FALSE(ReplaceFileAtomically("Cartelle.cfg", "x"));
  EXPECT_TRUE(fs::is_directory("Cartelle.cfg"));

  // Temporary names are new for every write: a folder at an old-style temporary
  // name no longer blocks the write, and is left alone.
  Put("zsnes.config.valmerin", "vecchio");
  fs::create_directory("zsnes.config.valmerin.valmerin-tmp");
  EXPECT_TRUE(ReplaceFileAtomically("zsnes.config.valmerin", "nuovo"));
  EXPECT_EQ(Get("zsnes.config.valmerin"), "nuovo");
  EXPECT_TRUE(fs::is_directory("zsnes.config.valmerin.valmerin-tmp"));
  EXPECT_EQ(EntriesInCurrentFolder(), 3u);
}

TEST_F(FileIoTest, AppendCreatesThenAppends) {
  ASSERT_TRUE(AppendToFile("Descrizioni.emu", "\"a\",\"b\"\r\n"));
  ASSERT_TRUE(AppendToFile("Descrizioni.emu", "\"c\",\"d\"\r\n"));
  EXPECT_EQ(Get("Descrizioni.emu"), "\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
  EXPECT_FALSE(AppendToFile("manca/file", "x"));
}

TEST_F(FileIoTest, CopyReplacesTheDestinationWhole) {
  Put("Mario.smc", "corto");
  Put("Gioco.smc", "un contenuto precedente più lungo");
  ASSERT_TRUE(CopyFileReplacing("Mario.smc", "Gioco.smc"));
  EXPECT_EQ(Get("Gioco.smc"), "corto");
  // Copying a file onto itself must not empty it.
  EXPECT_TRUE(CopyFileReplacing("Mario.smc", "Mario.smc"));
  EXPECT_EQ(Get("Mario.smc"), "corto");

  EXPECT_FALSE(CopyFileReplacing("Manca.smc", "Gioco.smc"));
  EXPECT_EQ(Get("Gioco.smc"), "corto");
  fs::create_directory("Cartella.smc");
  EXPECT_FALSE(CopyFileReplacing("Mario.smc", "Cartella.smc"));
  EXPECT_FALSE(CopyFileReplacing("Mario.smc", "manca/Gioco.smc"));
}

TEST_F(FileIoTest, DeleteOnlyRegularFiles) {
  Put("Gioco.smc", "x");
  EXPECT_TRUE(DeleteRegularFile("Gioco.smc"));
  EXPECT_FALSE(fs::exists("Gioco.smc"));
  EXPECT_FALSE(DeleteRegularFile("Gioco.smc"));
  fs::create_directory("Gioco.nes");
  EXPECT_FALSE(DeleteRegularFile("Gioco.nes"));
  EXPECT_TRUE(fs::is_directory("Gioco.nes"));
}

TEST_F(FileIoTest, NamesBeyondAsciiReachTheFileSystemIntact) {
  const fs::path appended = ToHostPath("Descrizioni è.emu");
  const fs::path replaced = ToHostPath("Perché €.cfg");
  const fs::path copied = ToHostPath("Gioco ü.smc");
  ASSERT_TRUE(AppendToFile(appended, "a\r\n"));
  ASSERT_TRUE(ReplaceFileAtomically(replaced, "b\r\n"));
  ASSERT_TRUE(CopyFileReplacing(replaced, copied));
  EXPECT_EQ(SearchFolder("*"),
            (std::vector<std::string>{"Descrizioni è.emu", "Gioco ü.smc", "Perché €.cfg"}));
  EXPECT_EQ(ReadWholeFile(appended), "a\r\n");
  EXPECT_EQ(ReadWholeFile(copied), "b\r\n");
  EXPECT_TRUE(DeleteRegularFile(copied));
  EXPECT_FALSE(IsRegularFile(copied));
}

}  // namespace
}  // namespace valmerin
