// A disk that fills up under each write of ours: every file is left whole (old or
// new), no half copy or temporary stays behind, and the message says the disk is
// full and names the file. Runs on a small file system of its own (root only).
#ifndef _WIN32
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "catalogue/descriptions.h"
#include "launch/game_launch.h"
#include "lifecycle/exit_sequence.h"
#include "options/command_line_builder.h"
#include "options/options_model.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

class FullDisk : public FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    disk_ = Root() / "disco";
    fs::create_directory(disk_);
    if (mount("none", disk_.c_str(), "tmpfs", 0, "size=256k") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    mounted_ = true;
    fs::current_path(disk_);
  }
  void TearDown() override {
    fs::current_path(Root());
    if (mounted_) umount(disk_.c_str());
    FreshFolderTest::TearDown();
  }

  fs::path disk_;
  bool mounted_ = false;
};

TEST_F(FullDisk, EveryWriteIsWholeOrLeavesTheOldFile) {
  // The user's files, then no room left.
  const std::map<std::string, std::string> old = {
      {"Cartelle.cfg", "\"C:\\ZSnes\\\"\r\n"},
      {"parametri", "\"-old \"\r\n"},
      {"zsnes.config.valmerin", "old\r\n"},
      {"Descrizioni.emu", "Mario.smc\r\nIl mio gioco\r\n"},
  };
  for (const auto& [name, bytes] : old) WriteBytes(name, bytes);
  WriteBytes("disponibili.emu", "1,1,1,1\r\n");
  // Every byte the disk has left taken.
  std::ofstream filler("riempitivo", std::ios::binary);
  const std::string block(4096, 'x');
  while (filler.write(block.data(), block.size())) {
  }
  filler.close();

  struct Case {
    std::string what;
    std::string message;
    std::string file;
  };
  std::vector<Case> cases;
  OptionsModel options;
  options.SetText(32, "C:\\Nuova\\");
  cases.push_back({"OK", ConfirmOptions(options).message, "disponibili.emu"});
  std::string kept;
  MainWindowState exiting;
  RunExitSequence(exiting, options, &kept);
  cases.push_back({"uscita", kept, "zsnes.config.valmerin"});
  // A record larger than a page needs new blocks, which the disk no longer has.
  const SaveOutcome appended = AppendDescription("Zelda.smc", std::string(9000, 'd'));
  cases.push_back({"descrizione", std::string(DescribeFileError(appended.error)), ""});

  // The game and the data folder are on a roomy disk, the emulator's folder is
  // the full one.
  WriteBytes(Root() / "Gioco grande.smc", std::string(512u << 10, 'g'));
  fs::create_symlink(Root() / "Gioco grande.smc", "Gioco grande.smc");
  MainWindowState state = WithGame(Emulator::ZSnes, disk_.string() + "/", "Gioco grande.smc");
  fs::current_path(Root());
  const LaunchOutcome launch = LaunchGame(state, Emulator::ZSnes);
  fs::current_path(disk_);
  EXPECT_FALSE(launch.started);
  cases.push_back({"copia", launch.message, "Gioco.smc"});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NE(c.message.find("il disco è pieno"), std::string::npos) << c.message;
    EXPECT_NE(c.message.find(c.file), std::string::npos) << c.message;
  }
  for (const auto& [name, bytes] : old) EXPECT_EQ(ReadBytes(name), bytes) << name;
  EXPECT_FALSE(AnythingAt("Gioco.smc"));
  for (const auto& entry : fs::directory_iterator(".")) {
    EXPECT_FALSE(IsTemporaryName(entry.path().filename().string())) << entry.path();
  }
}

// The copy takes the last block, so the journal cannot note it afterwards: the
// copy must not stay behind unnoted, where a killed run would leave it for ever.
TEST_F(FullDisk, ACopyTheJournalCannotNoteIsNotKept) {
  struct statvfs disk {};
  ASSERT_EQ(statvfs(".", &disk), 0);
  const std::uint64_t pages = disk.f_bavail * disk.f_frsize / 4096;
  // One page for the journal's first note, all the others for the copy.
  WriteBytes(Root() / "Mario.smc", std::string((pages - 1) * 4096, 'm'));
  fs::create_symlink(Root() / "Mario.smc", "Mario.smc");
  MainWindowState state = WithGame(Emulator::ZSnes, disk_.string() + "/", "Mario.smc");
  const LaunchOutcome launch = LaunchGame(state, Emulator::ZSnes);
  EXPECT_FALSE(launch.started);
  const std::string journal = ReadBytes("Copie.valmerin");
  EXPECT_TRUE(!AnythingAt("Gioco.smc") || journal.find("Gioco.smc\t") != std::string::npos)
      << journal;
  EXPECT_NE(launch.message.find("il disco è pieno"), std::string::npos) << launch.message;
}

}  // namespace
}  // namespace valmerin::testing
#endif
