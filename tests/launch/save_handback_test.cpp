// A game's own files follow the game: lent under the copy's name while its
// emulator runs, back under the game's name when it ends, whoever else played
// in between, whatever killed Valmerin meanwhile.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "launch/copy_journal.h"
#include "launch/game_launch.h"
#include "launch_test_support.h"
#include "platform/file_identity.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

namespace fs = std::filesystem;

// How the stand-in treats the save under the copy's name: it notes what it
// found, then adds its game's bytes, in place or as a new file (as real ones do).
// It waits while "hold" exists, so a test can act while it runs.
const std::string kOnlyReads =
    "#!/bin/sh\n"
    "s=\"${1%.*}.srm\"\n"
    "cat \"$s\" > \"$0.seen\" 2>/dev/null\n"
    "ls \"$(dirname \"$1\")\" > \"$0.names\"\n";
const std::string kHeld = kOnlyReads + "while [ -e \"$0.hold\" ]; do sleep 0.05; done\n";
const std::string kAppends = kHeld + "cat \"$1\" >> \"$s\"\n";
const std::string kRewrites =
    kHeld + "{ cat \"$s\" 2>/dev/null; cat \"$1\"; } > \"$s.new\" && mv \"$s.new\" \"$s\"\n";

class SaveHandBackTest : public testing::LaunchFolderTest {
 public:
  void SetUp() override {
    LaunchFolderTest::SetUp();
    folder_ = MakeFolder("Giochi SNES àè");
    for (const char* game : {"Alfa.smc", "Beta.smc"})
      WriteBytes(folder_ + game, std::string(1, game[0]));
    Fresh(state_);
  }
  void Fresh(MainWindowState& state) const {
    state = MainWindowState{};
    state.EmulatorFolder[0] = folder_;
    for (const char* game : {"Alfa.smc", "Beta.smc"}) state.gameLists[0].Add(game, game);
  }
  void Emulator(std::string_view script) { testing::WriteProgram(folder_ + "ZSnes.exe", script); }
  // Alfa started on an emulator that runs until its "hold" goes.
  void StartAlfaHeld() {
    Emulator(kAppends);
    WriteBytes(folder_ + "ZSnes.exe.hold", "");
    ASSERT_TRUE(Play("Alfa.smc").started);
    ASSERT_TRUE(testing::WaitUntil([&] { return fs::exists(folder_ + "ZSnes.exe.seen"); }));
  }
  static void ExpectRefusedWhileAlfaRuns(const LaunchOutcome& refused) {
    testing::ExpectRefusal(refused, {"ZSnes sta ancora eseguendo il gioco \"Alfa.smc\""});
  }
  // A NESticle folder named `name` listing Zelda.nes.
  std::string NesticleWithZelda(const std::string& name) {
    const std::string nes = MakeFolder(name);
    state_.EmulatorFolder[IndexOf(Emulator::NESticle)] = nes;
    WriteBytes(nes + "Zelda.nes", "Z");
    state_.gameLists[IndexOf(Emulator::NESticle)].Add("Zelda.nes", "Zelda.nes");
    return nes;
  }
  LaunchOutcome Play(const std::string& game) {
    fs::remove(folder_ + "ZSnes.exe.names");
    state_.Text1 = game;
    return LaunchGame(state_, Emulator::ZSnes);
  }
  // Played to the end, as the window's watch sees it.
  std::string PlayThrough(const std::string& game) {
    const LaunchOutcome outcome = Play(game);
    EXPECT_TRUE(outcome.started) << outcome.message;
    EXPECT_TRUE(WaitUntilGameEnded(state_.copies));
    return ReadBytes(folder_ + "ZSnes.exe.seen");
  }
  bool WaitUntilGameEnded(GameCopies& copies) {
    return testing::WaitUntilGameEnded(copies, Emulator::ZSnes);
  }
  std::vector<std::string> CopyNamesLeft() const { return testing::NamesIn(folder_, "Gioco."); }

  std::string folder_;
  MainWindowState state_;
};

TEST_F(SaveHandBackTest, TwoGamesInTurnEachKeepTheirOwnSave) {
  const struct {
    const char* how;
    std::string_view emulator;
  } cases[] = {{"appends in place", kAppends}, {"rewrites the whole file", kRewrites}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    for (const char* save : {"Alfa.srm", "Beta.srm"}) fs::remove(folder_ + save);
    Emulator(c.emulator);
    EXPECT_EQ(PlayThrough("Alfa.smc"), "");
    EXPECT_EQ(PlayThrough("Beta.smc"), "");  // never A's save
    EXPECT_EQ(PlayThrough("Alfa.smc"), "A");
    EXPECT_EQ(ReadBytes(folder_ + "Alfa.srm"), "AA");
    EXPECT_EQ(ReadBytes(folder_ + "Beta.srm"), "B");
    EXPECT_EQ(CopyNamesLeft(), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(kCopyJournalFile));
  }
}

// Which files beside the game are lent: its own, never another game, an archive or
// a video, nor a file the emulator leaves as it was written back.
TEST_F(SaveHandBackTest, OnlyTheGamesOwnFilesAreLentAndOnlyChangedOnesWritten) {
  WriteBytes(folder_ + "Alfa.srm", "vecchio");
  WriteBytes(folder_ + "alfa.ZST", "stato");
  WriteBytes(folder_ + "Alfa.sfc", "another game of the list");
  state_.gameLists[0].Add("Alfa.sfc", "Alfa.sfc");
  WriteBytes(folder_ + "Alfa.zip", "archive");
  WriteBytes(folder_ + "Alfa.mp4", "video");
  WriteBytes(folder_ + "Alfa.ips", std::string((16u << 20) + 1, 'p'));  // too large to wait for
  WriteBytes(folder_ + "Alfabeto.srm", "another name");
  Emulator(kOnlyReads);
  struct stat before {};
  ASSERT_EQ(stat((folder_ + "Alfa.srm").c_str(), &before), 0);

  EXPECT_EQ(PlayThrough("Alfa.smc"), "vecchio");
  std::string names = ReadBytes(folder_ + "ZSnes.exe.names");
  for (const char* lent : {"Gioco.smc\n", "Gioco.srm\n", "Gioco.ZST\n"}) {
    EXPECT_NE(names.find(lent), std::string::npos) << lent << " in\n" << names;
  }
  for (const char* kept : {"Gioco.sfc", "Gioco.zip", "Gioco.mp4", "Gioco.ips", "Giocobeto"}) {
    EXPECT_EQ(names.find(kept), std::string::npos) << kept << " in\n" << names;
  }
  struct stat after {};
  ASSERT_EQ(stat((folder_ + "Alfa.srm").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(ReadBytes(folder_ + "alfa.ZST"), "stato");
  EXPECT_EQ(CopyNamesLeft(), std::vector<std::string>{});
}

// A file the emulator writes at the copy's stem with a game's ending (a ROM or an
// archive, which the list holds as games too) never goes back over that game.
TEST_F(SaveHandBackTest, NothingGoesBackOverAGame) {
  for (const char* ending : {"sfc", "zip", "7z", "ZIP"}) {
    SCOPED_TRACE(ending);
    const std::string game = folder_ + "Alfa." + ending;
    WriteBytes(game, "the user's game");
    Emulator("#!/bin/sh\necho finto > \"${1%.*}." + std::string(ending) + "\"\n");
    PlayThrough("Alfa.smc");
    EXPECT_EQ(ReadBytes(game), "the user's game");
    fs::remove(game);
    for (const std::string& left : CopyNamesLeft()) fs::remove(folder_ + left);
  }
}

// Valmerin killed at each step of a run; the next start finishes it before
// anything else looks at the copy names.
TEST_F(SaveHandBackTest, ARestartFinishesWhatAKilledRunLeft) {
  const struct {
    const char* when;
    bool ran;  // Alfa was played, and its emulator ended before the restart
    std::function<void(SaveHandBackTest&)> then;
    std::string alfaSave;
  } cases[] = {
      {"while the emulator ran", true, nullptr, "oldA"},
      {"after the copy's file number was noted, before its change time", true,
       [](SaveHandBackTest&) {
         std::vector<JournalRun> runs = ReadCopyJournal();
         ASSERT_EQ(runs.size(), 1u);
         runs[0].identity = FileNumber(PathFromUtf8(runs[0].copy));
         ASSERT_TRUE(WriteCopyJournal(runs));
       },
       "oldA"},
      {"after the journal named the copy, before it was made", false,
       [](SaveHandBackTest& t) {
         ASSERT_TRUE(WriteCopyJournal({{.started = 1,
                                        .copy = Utf8FromPath(fs::path(t.folder_) / "Gioco.smc"),
                                        .game = Utf8FromPath(fs::path(t.folder_) / "Alfa.smc"),
                                        .identity = {},
                                        .folders = {t.folder_},
                                        .lent = {}}}));
       },
       "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    WriteBytes(folder_ + "Alfa.srm", "old");
    Fresh(state_);
    if (c.ran) {
      Emulator(kAppends);
      ASSERT_TRUE(Play("Alfa.smc").started);
      ASSERT_TRUE(testing::ProgramEnded(folder_, "Gioco.smc"));
    }
    if (c.then) c.then(*this);
    GameCopies next;  // a Valmerin started afresh over what this one left
    next.Recover({fs::path(folder_)});
    EXPECT_EQ(ReadBytes(folder_ + "Alfa.srm"), c.alfaSave);
    EXPECT_EQ(CopyNamesLeft(), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(kCopyJournalFile));
  }
}

TEST_F(SaveHandBackTest, AnEmulatorThatOutlivedTheKillIsFinishedWhenItEnds) {
  WriteBytes(folder_ + "Alfa.srm", "old");
  ASSERT_NO_FATAL_FAILURE(StartAlfaHeld());

  MainWindowState next;
  Fresh(next);
  next.copies.Recover({fs::path(folder_)});
  // Still running: its names stay out, and no other game may take them.
  EXPECT_TRUE(fs::exists(folder_ + "Gioco.srm"));
  next.Text1 = "Beta.smc";
  ExpectRefusedWhileAlfaRuns(LaunchGame(next, Emulator::ZSnes));

  fs::remove(folder_ + "ZSnes.exe.hold");
  EXPECT_TRUE(WaitUntilGameEnded(next.copies));
  EXPECT_EQ(ReadBytes(folder_ + "Alfa.srm"), "oldA");
  EXPECT_EQ(CopyNamesLeft(), std::vector<std::string>{});
}

// Files at the copy's names that no run made belong to an unknown game: moved
// aside once, never given to a game, never deleted.
TEST_F(SaveHandBackTest, AStrangersFilesAtTheCopyNamesAreMovedAsideAndNamed) {
  WriteBytes(folder_ + "Gioco.srm", "foreign save");
  WriteBytes(folder_ + "Gioco (file di un gioco sconosciuto).srm", "an earlier one");
  WriteBytes(folder_ + "GIOCO.SMC", "foreign game");
  WriteBytes(folder_ + "Gioco.fig.smc", "a game of the list that shares the stem");
  state_.gameLists[0].Add("Gioco.fig.smc", "Gioco.fig.smc");
  Emulator(kAppends);
  const LaunchOutcome first = Play("Alfa.smc");
  ASSERT_TRUE(first.started) << first.message;
  EXPECT_NE(first.notice.find("gioco sconosciuto"), std::string::npos) << first.notice;
  EXPECT_TRUE(WaitUntilGameEnded(state_.copies));
  EXPECT_EQ(ReadBytes(folder_ + "ZSnes.exe.seen"), "");
  EXPECT_EQ(ReadBytes(folder_ + "Alfa.srm"), "A");
  EXPECT_EQ(ReadBytes(folder_ + "Gioco (file di un gioco sconosciuto 2).srm"), "foreign save");
  EXPECT_EQ(ReadBytes(folder_ + "Gioco (file di un gioco sconosciuto).srm"), "an earlier one");
  EXPECT_EQ(ReadBytes(folder_ + "GIOCO (file di un gioco sconosciuto).SMC"), "foreign game");
  EXPECT_TRUE(fs::exists(folder_ + "Gioco.fig.smc"));

  const LaunchOutcome second = Play("Alfa.smc");  // told once
  EXPECT_TRUE(second.notice.empty()) << second.notice;
  EXPECT_TRUE(WaitUntilGameEnded(state_.copies));
}

TEST_F(SaveHandBackTest, ASecondLaunchWhileTheFirstRunsStartsNothing) {
  ASSERT_NO_FATAL_FAILURE(StartAlfaHeld());
  for (const char* game : {"Beta.smc", "Alfa.smc"}) {
    SCOPED_TRACE(game);
    ExpectRefusedWhileAlfaRuns(Play(game));
  }
  fs::remove(folder_ + "ZSnes.exe.hold");
  EXPECT_TRUE(WaitUntilGameEnded(state_.copies));
  EXPECT_EQ(ReadBytes(folder_ + "Alfa.srm"), "A");
  EXPECT_FALSE(fs::exists(folder_ + "Beta.srm"));
}

// The window's timers run during a long copy: an emulator that ends then is
// finished afterwards, never under the launch being prepared.
TEST_F(SaveHandBackTest, AnEndDuringACopyWaitsForTheLaunchToBeReady) {
  const std::string nes = NesticleWithZelda("NES");
  testing::WriteProgram(nes + "Dos4GW.exe",
                        "#!/bin/sh\nwhile [ -e \"$0.hold\" ]; do sleep 0.05; done\n");
  WriteBytes(nes + "Dos4GW.exe.hold", "");
  state_.Text1 = "Zelda.nes";
  ASSERT_TRUE(LaunchGame(state_, Emulator::NESticle).started);

  Emulator(kOnlyReads);
  state_.Text1 = "Alfa.smc";
  const LaunchOutcome outcome =
      LaunchGame(state_, Emulator::ZSnes, [&](std::uint64_t, std::uint64_t) {
        fs::remove(nes + "Dos4GW.exe.hold");
        testing::WaitUntil(
            [&] {
              state_.copies.FinishEnded();  // as the window's timer would
              return !fs::exists(nes + "Gioco.nes");
            },
            80);
        return true;
      });
  ASSERT_TRUE(outcome.started) << outcome.message;
  EXPECT_TRUE(WaitUntilGameEnded(state_.copies));
  EXPECT_TRUE(testing::WaitUntilGameEnded(state_.copies, Emulator::NESticle));
  EXPECT_EQ(CopyNamesLeft(), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(nes + "Gioco.nes"));
}

// NESticle keeps saves in the folder its switch names; they follow the game there.
TEST_F(SaveHandBackTest, NESticlesSaveFolderIsHandledLikeItsOwn) {
  const std::string nes = NesticleWithZelda("NESticle");
  const std::string saves = MakeFolder("NESticle/Salvataggi");
  WriteBytes(saves + "Zelda.sav", "old");
  WriteBytes("parametri", "\r\n\r\n\"-savedir " + saves + " \"\r\n\r\n");
  testing::WriteProgram(nes + "Dos4GW.exe",
                        "#!/bin/sh\n"
                        "d=\"$3\"; g=\"$(basename \"${5%.*}\")\"\n"
                        "cat \"$d/$g.sav\" > \"$0.seen\"\n"
                        "cat \"$5\" >> \"$d/$g.sav\"\n");
  state_.Text1 = "Zelda.nes";
  const LaunchOutcome outcome = LaunchGame(state_, Emulator::NESticle);
  ASSERT_TRUE(outcome.started) << outcome.message;
  EXPECT_TRUE(testing::WaitUntilGameEnded(state_.copies, Emulator::NESticle));
  EXPECT_EQ(ReadBytes(nes + "Dos4GW.exe.seen"), "old");
  EXPECT_EQ(ReadBytes(saves + "Zelda.sav"), "oldZ");
  EXPECT_FALSE(fs::exists(saves + "Gioco.sav"));
}

}  // namespace
}  // namespace valmerin
#endif
