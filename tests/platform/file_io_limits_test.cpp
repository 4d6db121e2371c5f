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
// A link is written through only to a file inside its own folder; a link leading
// anywhere else is refused and what it leads to stays untouched. Our own internal
// files are never written through a link at all.
TEST_F(FileIoLimitsTest, LinksAreWrittenThroughOnlyInsideTheirFolder) {
  fs::create_directories("fuori");
  fs::create_directories("dati/salvati");
  fs::create_directory_symlink("../fuori", "dati/passaggio");
  WriteBytes("fuori/.bashrc", "mio");
  WriteBytes("dati/vero.cfg", "vecchio");
  WriteBytes("dati/salvati/kgen.cfg", "vecchio");
  struct Case {
    const char* link;
    std::string target;
    LinkRule rule;
    FileError expected;
    const char* landsIn;  // the file that takes the write, when one does
  };
  const Case cases[] = {
      {"collegamento.cfg", "vero.cfg", LinkRule::InsideItsFolder, FileError::None, "dati/vero.cfg"},
      {"kgen.config.valmerin", "salvati/kgen.cfg", LinkRule::InsideItsFolder, FileError::None,
       "dati/salvati/kgen.cfg"},
      {"zsnes.config.valmerin", "../fuori/.bashrc", LinkRule::InsideItsFolder,
       FileError::LinkOutside, nullptr},
      {"Cartelle.cfg", (Root() / "fuori/.bashrc").string(), LinkRule::InsideItsFolder,
       FileError::LinkOutside, nullptr},
      {"Descrizioni.emu", "passaggio/.bashrc", LinkRule::InsideItsFolder, FileError::LinkOutside,
       nullptr},
      {"nesticle.config.valmerin", "../fuori/nuovo.cfg", LinkRule::InsideItsFolder,
       FileError::LinkOutside, nullptr},
      {"orfano.cfg", "manca/orfano.cfg", LinkRule::InsideItsFolder, FileError::Missing, nullptr},
      {"anello.cfg", "anello.cfg", LinkRule::InsideItsFolder, FileError::NotRegular, nullptr},
      {"Copie.valmerin", "vero.cfg", LinkRule::Never, FileError::NotRegular, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const fs::path link = fs::path("dati") / c.link;
    fs::create_symlink(c.target, link);
    EXPECT_EQ(ReplaceFileAtomically(link, "nuovo", c.rule).error, c.expected);
    EXPECT_EQ(AppendToFile(link, "+", c.rule).error, c.expected);
    EXPECT_TRUE(fs::is_symlink(link));
    if (c.landsIn != nullptr) {
      EXPECT_EQ(ReadBytes(c.landsIn), "nuovo+");
    }
  }
  EXPECT_EQ(ReadBytes("dati/vero.cfg"), "nuovo+");
  EXPECT_EQ(ReadBytes("fuori/.bashrc"), "mio");
  EXPECT_FALSE(fs::exists("fuori/nuovo.cfg"));
  EXPECT_EQ(std::distance(fs::directory_iterator("fuori"), fs::directory_iterator()), 1);
}

// A copy is writable by its owner, even from a read-only game, but never readable
// by more people than the game: a private file a handed folder's link names
// stays private as a copy.
TEST_F(FileIoLimitsTest, ACopyIsNeverReadableByMoreThanItsGame) {
  const mode_t oldMask = umask(022);
  struct Case {
    mode_t game;
    mode_t copy;
  };
  const Case cases[] = {{0600, 0600}, {0400, 0600}, {0640, 0640},
                        {0644, 0644}, {0444, 0644}, {0666, 0644}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.game);
    fs::remove("Gioco.smc");
    WriteBytes("Mario.smc", "mario");
    ASSERT_EQ(chmod("Mario.smc", c.game), 0);
    ASSERT_TRUE(CopyFileAtomically("Mario.smc", "Gioco.smc", TemporaryNameFor("Gioco.smc")));
    struct stat copy {};
    ASSERT_EQ(stat("Gioco.smc", &copy), 0);
    EXPECT_EQ(copy.st_mode & 0777, c.copy);
    chmod("Mario.smc", 0600);
    fs::remove("Mario.smc");
  }
  umask(oldMask);
}

#endif

}  // namespace
}  // namespace valmerin
