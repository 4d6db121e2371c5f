// The game copy never costs the user a file: a killed run's copies go at the next
// start and block nothing, a file at the copy name that no run made is never
// touched, links at that name are neither followed nor their targets deleted.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hosting/path_forms.h"
#include "launch/copy_journal.h"
#include "launch/game_launch.h"
#include "lifecycle/exit_sequence.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "platform/file_io.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

class CopySafety : public FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    for (const char* folder : {"snes", "nes"}) fs::create_directory(folder);
    MakeStandIn("snes/ZSnes.exe");
    MakeStandIn("nes/Dos4GW.exe");
    WriteBytes("Cartelle.cfg",
               "\"" + Folder("snes") + "\"\r\n\"" + Folder("nes") + "\"\r\n\"k/\"\r\n\"p/\"\r\n");
    WriteBytes("Disponibili.emu", "1,1,0,0\r\n");
  }
  std::string Folder(const char* name) const { return (Root() / name).string() + "/"; }

  LaunchOutcome Launch(MainWindowState& state, Emulator emulator, const std::string& game) {
    state.Text1 = game;
    return LaunchGame(state, emulator);
  }

  OptionsModel options_;
  RecordingHooks hooks_;
};

TEST_F(CopySafety, AKilledRunsCopiesGoAtTheNextStartAndNothingElse) {
  WriteBytes("snes/Mario.smc", "mario");
  WriteBytes("snes/Zelda.sfc", "zelda");
  WriteBytes("nes/Gioco.nes", "the user's own game");
  MainWindowState killed = StartUp(options_, hooks_);
  ASSERT_TRUE(Launch(killed, Emulator::ZSnes, "Mario.smc").started);
  ASSERT_TRUE(ProgramEnded(fs::absolute("snes"), "Gioco.smc"));
  // After the kill the user puts a file of their own at another copy name...
  WriteBytes("snes/Gioco.sfc", "mine now");
  // ...and a copy of a run long gone was cut off half-way.
  const fs::path half = "snes/Gioco.fig.valmerin-tmp-999999999-00000000000000ab";
  WriteBytes(half, "hal");

  MainWindowState next = StartUp(options_, hooks_);
  EXPECT_FALSE(AnythingAt("snes/Gioco.smc"));
  EXPECT_FALSE(AnythingAt(half));
  EXPECT_EQ(ReadBytes("snes/Gioco.sfc"), "mine now");
  EXPECT_EQ(ReadBytes("nes/Gioco.nes"), "the user's own game");
  const auto& zsnes = next.gameLists[IndexOf(Emulator::ZSnes)];
  EXPECT_FALSE(zsnes.FindFile("Gioco.smc"));
  EXPECT_FALSE(zsnes.FindFile("Gioco.sfc"));
  // The launch moves the stranger aside under a name that says what it is.
  const LaunchOutcome again = Launch(next, Emulator::ZSnes, "Mario.smc");
  EXPECT_TRUE(again.started);
  EXPECT_NE(again.notice.find("gioco sconosciuto"), std::string::npos) << again.notice;
  EXPECT_EQ(ReadBytes("snes/Gioco (file di un gioco sconosciuto).sfc"), "mine now");
  ASSERT_TRUE(WaitUntilGameEnded(next.copies, Emulator::ZSnes));
  RunExitSequence(next, options_);
  EXPECT_FALSE(AnythingAt("snes/Gioco.smc"));
  EXPECT_FALSE(AnythingAt(kCopyJournalFile));
}

// What may stand at the copy's name: a link is refused whatever it points at, its
// target is never written or deleted.
TEST_F(CopySafety, ALinkAtTheCopyNameIsNeitherFollowedNorDeleted) {
  WriteBytes("snes/Mario.smc", "mario");
  WriteBytes("precious", "the user's");
  const std::pair<const char*, fs::path> cases[] = {
      {"dangling, pointing outside", Root() / "outside/Gioco.smc"},
      {"to a file of the user", Root() / "precious"},
  };
  for (const auto& [what, target] : cases) {
    SCOPED_TRACE(what);
    fs::remove("snes/Gioco.smc");
    MainWindowState state = WithGame(Emulator::ZSnes, Folder("snes"), "Mario.smc");
    // Planted after this run made its copy there: the name is ours, the link is not.
    ASSERT_TRUE(Launch(state, Emulator::ZSnes, "Mario.smc").started);
    fs::remove("snes/Gioco.smc");
    fs::create_symlink(target, "snes/Gioco.smc");
    ASSERT_TRUE(WaitUntilGameEnded(state.copies, Emulator::ZSnes));
    ExpectRefusal(Launch(state, Emulator::ZSnes, "Mario.smc"),
                  {"Gioco.smc\": al suo posto c'è un collegamento"});
    RunExitSequence(state, options_);
    EXPECT_TRUE(fs::is_symlink("snes/Gioco.smc"));
  }
  EXPECT_FALSE(AnythingAt("outside"));
  EXPECT_EQ(ReadBytes("precious"), "the user's");
}

// One run, the endings in either letter case, a read-only game, an emulator still
// holding the previous copy open.
TEST_F(CopySafety, EveryLaunchGetsAFreshWritableCopy) {
  WriteBytes("nes/Mario.nes", "mario");
  WriteBytes("nes/Zelda.NES", "zelda");
  fs::permissions("nes/Zelda.NES", fs::perms::owner_read | fs::perms::group_read);
  MainWindowState state = StartUp(options_, hooks_);
  ASSERT_TRUE(Launch(state, Emulator::NESticle, "Mario.nes").started);
  const int held = open("nes/Gioco.nes", O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_TRUE(WaitUntilGameEnded(state.copies, Emulator::NESticle));

  const LaunchOutcome second = Launch(state, Emulator::NESticle, "Zelda.NES");
  EXPECT_TRUE(second.started) << second.message;
  const fs::path copy = ToHostPath(Folder("nes") + "Gioco.NES");
  EXPECT_EQ(ReadBytes(copy), "zelda");
  EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
  char first[8] = {};
  EXPECT_EQ(pread(held, first, sizeof first, 0), 5);
  EXPECT_STREQ(first, "mario");
  close(held);

  ASSERT_TRUE(WaitUntilGameEnded(state.copies, Emulator::NESticle));
  RunExitSequence(state, options_);
  EXPECT_EQ(NamesIn("nes", "Gioco"), std::vector<std::string>{});
}

}  // namespace
}  // namespace valmerin::testing
#endif
