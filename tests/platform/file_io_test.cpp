#include "platform/file_io.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "hosting/folder_search.h"
#include "hosting/path_forms.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using FileIoTest = testing::FreshFolderTest;

FileResult Copy(const fs::path& from, const fs::path& to) {
  return CopyFileAtomically(from, to, TemporaryNameFor(to));
}

size_t EntriesInCurrentFolder() {
  return static_cast<size_t>(std::distance(fs::directory_iterator("."), fs::directory_iterator()));
}

TEST_F(FileIoTest, WholeFilesAreReplacedAppendedAndReadByteForByte) {
  WriteBytes("parametri", "una riga molto più lunga del nuovo contenuto\r\n");
  ASSERT_TRUE(ReplaceFileAtomically("parametri", "-0 \r\n"));
  EXPECT_EQ(ReadBytes("parametri"), "-0 \r\n");
  ASSERT_TRUE(ReplaceFileAtomically("nuovo", ""));
  EXPECT_EQ(ReadBytes("nuovo"), "");
  EXPECT_EQ(EntriesInCurrentFolder(), 2u);
  // An append makes the file, then adds to it.
  ASSERT_TRUE(AppendToFile("Descrizioni.emu", "\"a\",\"b\"\r\n"));
  ASSERT_TRUE(AppendToFile("Descrizioni.emu", "\"c\",\"d\"\r\n"));
  EXPECT_EQ(ReadBytes("Descrizioni.emu"), "\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
  EXPECT_FALSE(AppendToFile("manca/file", "x"));
  // A read gives the bytes exactly, and nothing for what is no file.
  const std::string bytes("riga 1\r\nriga\0 2\r\n\x80\xFF", 19);
  WriteBytes("dati", bytes);
  EXPECT_EQ(ReadWholeFile("dati"), bytes);
  EXPECT_EQ(ReadWholeFile("manca"), std::nullopt);
  fs::create_directory("cartella");
  EXPECT_EQ(ReadWholeFile("cartella"), std::nullopt);
}

TEST_F(FileIoTest, FailedReplaceLeavesTheOldFile) {
  EXPECT_FALSE(ReplaceFileAtomically("manca/parametri", "x"));
  EXPECT_FALSE(fs::exists("manca"));

  fs::create_directory("Cartelle.cfg");
  EXPECT_FALSE(ReplaceFileAtomically("Cartelle.cfg", "x"));
  EXPECT_TRUE(fs::is_directory("Cartelle.cfg"));

  // Temporary names are new for every write: a folder at an old-style temporary
  // name no longer blocks the write, and is left alone.
  WriteBytes("zsnes.config.valmerin", "vecchio");
  fs::create_directory("zsnes.config.valmerin.valmerin-tmp");
  EXPECT_TRUE(ReplaceFileAtomically("zsnes.config.valmerin", "nuovo"));
  EXPECT_EQ(ReadBytes("zsnes.config.valmerin"), "nuovo");
  EXPECT_TRUE(fs::is_directory("zsnes.config.valmerin.valmerin-tmp"));
  EXPECT_EQ(EntriesInCurrentFolder(), 3u);
}

TEST_F(FileIoTest, CopyReplacesTheDestinationWhole) {
  WriteBytes("Mario.smc", "corto");
  WriteBytes("Gioco.smc", "un contenuto precedente più lungo");
  ASSERT_TRUE(Copy("Mario.smc", "Gioco.smc"));
  EXPECT_EQ(ReadBytes("Gioco.smc"), "corto");
  // Copying a file onto itself must not empty it.
  EXPECT_TRUE(Copy("Mario.smc", "Mario.smc"));
  EXPECT_EQ(ReadBytes("Mario.smc"), "corto");

  EXPECT_FALSE(Copy("Manca.smc", "Gioco.smc"));
  EXPECT_EQ(ReadBytes("Gioco.smc"), "corto");
  fs::create_directory("Cartella.smc");
  EXPECT_FALSE(Copy("Mario.smc", "Cartella.smc"));
  EXPECT_FALSE(Copy("Mario.smc", "manca/Gioco.smc"));
}

TEST_F(FileIoTest, DeleteOnlyRegularFiles) {
  WriteBytes("Gioco.smc", "x");
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
  ASSERT_TRUE(Copy(replaced, copied));
  std::vector<std::string> listed;
  FolderListing("").Visit({"*"}, [&](std::size_t, std::span<const std::string_view> names) {
    listed.assign(names.begin(), names.end());
  });
  EXPECT_EQ(listed, (std::vector<std::string>{"Descrizioni è.emu", "Gioco ü.smc", "Perché €.cfg"}));
  EXPECT_EQ(ReadWholeFile(appended), "a\r\n");
  EXPECT_EQ(ReadWholeFile(copied), "b\r\n");
  EXPECT_TRUE(DeleteRegularFile(copied));
  EXPECT_FALSE(IsRegularFile(copied));
}

#ifndef _WIN32
// Mode 000 means "there but unreadable", not "missing"; root reads it anyway.
TEST_F(FileIoTest, UnreadableIsNotMissing) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads a file of mode 000; make test-user runs this";
  WriteBytes("zsnes.config.valmerin", "1");
  fs::permissions("zsnes.config.valmerin", fs::perms::none);
  EXPECT_EQ(ReadFileBytes("zsnes.config.valmerin").error, FileError::Unreadable);
  EXPECT_TRUE(ExistsButUnreadable("zsnes.config.valmerin"));
  EXPECT_EQ(ReadFileBytes("manca").error, FileError::Missing);
  EXPECT_FALSE(ExistsButUnreadable("manca"));
}

// The copy is a new file with ordinary permissions, never the old one rewritten;
// a link at its name is refused; a cancelled copy leaves nothing.
TEST_F(FileIoTest, CopyIsANewWholeFileOrNothing) {
  const std::string game(3u << 20, 'g');
  WriteBytes("Mario.smc", game);
  fs::permissions("Mario.smc", fs::perms::owner_read);
  WriteBytes("Gioco.smc", "copia precedente");
  struct stat before {};
  ASSERT_EQ(stat("Gioco.smc", &before), 0);

  std::uint64_t last = 0;
  ASSERT_TRUE(
      CopyFileAtomically("Mario.smc", "Gioco.smc", TemporaryNameFor("Gioco.smc"),
                         [&](std::uint64_t done, std::uint64_t) { return (last = done, true); }));
  struct stat after {};
  ASSERT_EQ(stat("Gioco.smc", &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_NE(after.st_mode & S_IWUSR, 0u);
  EXPECT_EQ(last, game.size());
  EXPECT_EQ(ReadBytes("Gioco.smc"), game);

  fs::create_symlink("altrove/Gioco.sfc", "Gioco.sfc");
  EXPECT_EQ(Copy("Mario.smc", "Gioco.sfc").error, FileError::NotRegular);
  EXPECT_FALSE(fs::exists("altrove"));

  const FileResult cancelled =
      CopyFileAtomically("Mario.smc", "Gioco.fig", TemporaryNameFor("Gioco.fig"),
                         [](std::uint64_t done, std::uint64_t) { return done == 0; });
  EXPECT_EQ(cancelled.error, FileError::Cancelled);
  EXPECT_EQ(EntriesInCurrentFolder(), 3u);
  EXPECT_NE(TemporaryNameFor("a"), TemporaryNameFor("a"));
}
#endif

}  // namespace
}  // namespace valmerin
