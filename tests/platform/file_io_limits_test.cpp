// What a write may do through a link at one of our names, and what a whole-file
// read costs.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/file_io.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using FileIoLimitsTest = testing::FreshFolderTest;

// A whole-file read holds the file once: the buffer is the file's size, never the
// doubled room a growing buffer takes.
TEST_F(FileIoLimitsTest, WholeFileReadTakesOneAllocationOfItsSize) {
  const size_t sizes[] = {0, 1, 65535, 65536, 65537, 1 << 20, (5 << 20) + 3};
  for (size_t size : sizes) {
    SCOPED_TRACE(size);
    std::string bytes(size, 'x');
    for (size_t i = 0; i < size; i += 977) bytes[i] = static_cast<char>('a' + i % 26);
    WriteBytes("Descrizioni.emu", bytes);
    const ReadResult read = ReadFileBytes("Descrizioni.emu");
    ASSERT_TRUE(read.bytes.has_value());
    EXPECT_EQ(*read.bytes, bytes);
    EXPECT_LE(read.bytes->capacity(), size + 64);
  }
}

#ifndef _WIN32
// What stands at a file's name decides what a write may do: a FIFO is never opened
// (a read would hang for ever), a read-only file is left as it is. A link is
// written through, and stays a link, only to a file inside its own folder; a link
// leading anywhere else is refused and what it leads to stays untouched. Our own
// internal files are never written through a link at all.
TEST_F(FileIoLimitsTest, WritesRespectWhatStandsAtTheNameAndLinksOnlyInsideTheirFolder) {
  fs::create_directories("fuori");
  fs::create_directories("dati/salvati");
  fs::create_directory_symlink("../fuori", "dati/passaggio");
  WriteBytes("fuori/.bashrc", "mio");
  WriteBytes("dati/vero.cfg", "vecchio");
  WriteBytes("dati/salvati/kgen.cfg", "vecchio");
  ASSERT_EQ(mkfifo("dati/fifo", 0644), 0);
  WriteBytes("dati/sola-lettura", "vecchio");
  fs::permissions("dati/sola-lettura", fs::perms::owner_read | fs::perms::group_read);
  struct Case {
    const char* name;
    std::string target;  // of the link made at the name; none for what is there already
    FileError expected;
    const char* landsIn;  // the file that takes the write, when one does
    LinkRule rule = LinkRule::InsideItsFolder;
  };
  const Case cases[] = {
      {"fifo", "", FileError::NotRegular, nullptr},
      {"sola-lettura", "", FileError::ReadOnly, nullptr},
      {"collegamento.cfg", "vero.cfg", FileError::None, "dati/vero.cfg"},
      {"kgen.config.valmerin", "salvati/kgen.cfg", FileError::None, "dati/salvati/kgen.cfg"},
      {"zsnes.config.valmerin", "../fuori/.bashrc", FileError::LinkOutside, nullptr},
      {"Cartelle.cfg", (Root() / "fuori/.bashrc").string(), FileError::LinkOutside, nullptr},
      {"Descrizioni.emu", "passaggio/.bashrc", FileError::LinkOutside, nullptr},
      {"nesticle.config.valmerin", "../fuori/nuovo.cfg", FileError::LinkOutside, nullptr},
      {"orfano.cfg", "manca/orfano.cfg", FileError::Missing, nullptr},
      {"anello.cfg", "anello.cfg", FileError::NotRegular, nullptr},
      {"Copie.valmerin", "vero.cfg", FileError::NotRegular, nullptr, LinkRule::Never},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path link = fs::path("dati") / c.name;
    if (!c.target.empty()) fs::create_symlink(c.target, link);
    EXPECT_EQ(ReplaceFileAtomically(link, "nuovo", c.rule).error, c.expected);
    EXPECT_EQ(AppendToFile(link, "+", c.rule).error, c.expected);
    EXPECT_EQ(fs::is_symlink(link), !c.target.empty());
    if (c.landsIn != nullptr) {
      EXPECT_EQ(ReadBytes(c.landsIn), "nuovo+");
    }
  }
  EXPECT_EQ(ReadBytes("dati/vero.cfg"), "nuovo+");
  EXPECT_EQ(ReadFileBytes("dati/fifo").error, FileError::Missing);
  EXPECT_TRUE(fs::is_fifo("dati/fifo"));
  EXPECT_EQ(ReadBytes("dati/sola-lettura"), "vecchio");
  // No temporary left anywhere: the five made above and the nine links.
  EXPECT_EQ(std::distance(fs::directory_iterator("dati"), fs::directory_iterator()), 14);
  EXPECT_EQ(ReadBytes("fuori/.bashrc"), "mio");
  EXPECT_FALSE(fs::exists("fuori/nuovo.cfg"));
  EXPECT_EQ(std::distance(fs::directory_iterator("fuori"), fs::directory_iterator()), 1);
}

// A copy is writable by its owner, even from a read-only game, but never readable
// by more people than the game: a private file a handed folder's link names
// stays private as a copy.
TEST_F(FileIoLimitsTest, ACopyIsNeverReadableByMoreThanItsGame) {
  const mode_t oldMask = umask(022);
  // The game's mode, and the copy's.
  const std::pair<mode_t, mode_t> cases[] = {{0600, 0600}, {0400, 0600}, {0640, 0640},
                                             {0644, 0644}, {0444, 0644}, {0666, 0644}};
  for (const auto& [game, expected] : cases) {
    SCOPED_TRACE(game);
    fs::remove("Gioco.smc");
    WriteBytes("Mario.smc", "mario");
    ASSERT_EQ(chmod("Mario.smc", game), 0);
    ASSERT_TRUE(CopyFileAtomically("Mario.smc", "Gioco.smc", TemporaryNameFor("Gioco.smc")));
    struct stat copy {};
    ASSERT_EQ(stat("Gioco.smc", &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, expected);
    chmod("Mario.smc", 0600);
    fs::remove("Mario.smc");
  }
  umask(oldMask);
}

#endif

}  // namespace
}  // namespace valmerin
