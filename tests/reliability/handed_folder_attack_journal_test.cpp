// A data folder handed to the user carries a copy journal of its own making. Its
// lines may only ever lead to removing a copy this very machine made: a copy name
// in one of the run's emulator folders that is still the file we made. Everything
// else in it is ignored, and a decoy home beside the folder stays as it was.
#ifndef _WIN32
#include <sys/stat.h>

#include <functional>
#include <map>

#include "catalogue/rom_scan.h"
#include "launch/copy_journal.h"
#include "launch/game_launch.h"
#include "lifecycle/startup_sequence.h"
#include "options/options_model.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

class HandedFolderAttackJournal : public FreshFolderTest {
 public:
  void SetUp() override {
    FreshFolderTest::SetUp();
    fs::create_directories("home/Documenti");
    fs::create_directories("data/snes");
    WriteBytes("home/.profile", "profile");
    WriteBytes("home/Documenti/Tesi.odt", "tesi");
    WriteBytes("home/Gioco.smc", "a game of the user's, outside the emulator folders");
    WriteBytes("home/x.valmerin-tmp-999999999-00000000000000ab", "looks like ours");
    WriteBytes("data/snes/Mario.smc", "mario");
    fs::current_path("data");
    WriteBytes("Cartelle.cfg", "\"snes/\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    WriteBytes("Disponibili.emu", "1,0,0,0\r\n");
  }
  fs::path Home() const { return Root() / "home"; }
  // Every file under a folder with its bytes and times: what "unchanged" means.
  static std::map<std::string, std::string> HomeSnapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      struct stat info {};
      lstat(entry.path().c_str(), &info);
      const std::string bytes = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
      files[entry.path().string()] =
          bytes + "|" + std::to_string(info.st_ino) + "|" + std::to_string(info.st_mtim.tv_nsec);
    }
    return files;
  }

  JournalRun Run(const fs::path& copy, const std::string& identity) const {
    return {.copy = copy.string(),
            .game = (Root() / "data/snes/Mario.smc").string(),
            .identity = identity,
            .folders = {copy.parent_path().string()},
            .lent = {}};
  }
};

TEST_F(HandedFolderAttackJournal, NothingButOurOwnCopyIsEverRemovedOrWritten) {
  const fs::path snes = Root() / "data/snes";
  const fs::path tmp = Home() / "x.valmerin-tmp-999999999-00000000000000ab";
  const struct {
    const char* what;
    fs::path copy;
    fs::path identityOf;  // whose identity the line gives; none: `identity`
    const char* identity = "";
    bool lendsProfile = false;  // with a lent file whose original is outside
  } attacks[] = {
      {"a relative path out of the data folder", "../../home/.profile", Home() / ".profile"},
      {"an absolute path to a document", Home() / "Documenti/Tesi.odt",
       Home() / "Documenti/Tesi.odt"},
      {"the user's own game, with its true identity", snes / "Mario.smc", snes / "Mario.smc"},
      {"a copy name outside the emulator folders", Home() / "Gioco.smc", Home() / "Gioco.smc"},
      {"a copy name reached through the emulator folder", snes / "../../../home/Gioco.smc",
       Home() / "Gioco.smc"},
      {"a lent file whose original is outside", snes / "Gioco.smc", {}, "1:2:3", true},
      {"a temporary of a name that is no copy", tmp, {}},
  };
  OptionsModel options;
  RecordingHooks hooks;
  for (const auto& attack : attacks) {
    SCOPED_TRACE(attack.what);
    const auto before = HomeSnapshot(Home());
    const std::string mario = ReadBytes(snes / "Mario.smc");
    JournalRun run = Run(
        attack.copy, attack.identityOf.empty() ? attack.identity : FileIdentity(attack.identityOf));
    if (attack.lendsProfile) {
      WriteBytes(snes / "Gioco.srm", "crafted save");
      run.lent.push_back({(snes / "Gioco.srm").string(), (Home() / ".profile").string(), "1:2"});
    }
    ASSERT_TRUE(WriteCopyJournal({run}));
    // Lines of the older journal's form, a stray "T" among them.
    AppendToFile(std::string(kCopyJournalFile), "T\t" + (Home() / ".profile").string() + "\n");
    StartUp(options, hooks);
    EXPECT_EQ(HomeSnapshot(Home()), before);
    EXPECT_EQ(ReadBytes(snes / "Mario.smc"), mario);
    EXPECT_FALSE(AnythingAt(kCopyJournalFile));  // ignored lines are not kept either
    fs::remove(snes / "Gioco.srm");
  }
}

// What the journal may act on: a copy this machine made, still the same file.
TEST_F(HandedFolderAttackJournal, OnlyTheVeryCopyWeMadeIsRemoved) {
  const fs::path copy = Root() / "data/snes/Gioco.smc";
  const struct {
    const char* what;
    std::function<std::string()> identity;  // recorded after the copy was written
    bool removed;
  } cases[] = {
      {"the copy we made", [&] { return FileIdentity(copy); }, true},
      {"the copy whose change time was not noted yet", [&] { return FileNumber(copy); }, true},
      {"same size and time, another file", [] { return std::string("1:2:3"); }, false},
      {"no identity at all", [] { return std::string(); }, false},
  };
  OptionsModel options;
  RecordingHooks hooks;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(copy, "mario");
    ASSERT_TRUE(WriteCopyJournal({Run(copy, c.identity())}));
    const MainWindowState state = StartUp(options, hooks);
    EXPECT_EQ(AnythingAt(copy), !c.removed);
    // Whatever stands at the copy name is never listed as a game.
    EXPECT_FALSE(state.gameLists[0].FindFile("Gioco.smc"));
  }
}

// Temporaries of ours whose writer has gone are swept, in the folders we own only:
// the data folder, and an emulator folder the journal names (the copy is noted
// before its temporary is made).
TEST_F(HandedFolderAttackJournal, OnlyOrphanedTemporariesOfOursAreSwept) {
  const std::string ownNumber = std::to_string(getpid());
  const struct {
    fs::path file;
    bool swept;
  } cases[] = {
      {"Cartelle.cfg.valmerin-tmp-999999999-00000000000000ab", true},
      {"Cartelle.cfg.valmerin-tmp-" + ownNumber + "-00000000000000ab", false},  // still writing
      {"snes/Gioco.smc.valmerin-tmp-999999999-00000000000000ab", true},
      {"snes/Mario.smc.valmerin-tmp-999999999-00000000000000ab", false},  // no copy name
      {"snes/Gioco.smc.valmerin-tmp-notanumber", false},
      {Root() / "home/x.valmerin-tmp-999999999-00000000000000ab", false},  // not our folder
  };
  for (const auto& c : cases) WriteBytes(c.file, "half");
  ASSERT_TRUE(WriteCopyJournal({Run(Root() / "data/snes/Gioco.smc", "")}));
  OptionsModel options;
  RecordingHooks hooks;
  StartUp(options, hooks);
  for (const auto& c : cases) EXPECT_EQ(AnythingAt(c.file), !c.swept) << c.file;
}

// Anything at a copy name stays out of the list, in any spelling of the folder,
// and a launch says what stands there when it cannot be moved aside.
TEST_F(HandedFolderAttackJournal, NothingAtACopyNameIsListedAndTheRefusalSaysWhatItIs) {
  WriteBytes("snes/GIOCO.SFC", "a leftover");
  fs::create_symlink(Home() / ".profile", "snes/Gioco.smc");
  for (const char* spelling : {"snes/", "./snes/", "snes//", "snes\\"}) {
    SCOPED_TRACE(spelling);
    GameLists lists;
    Descriptions descriptions;
    ScanInto(lists, {spelling, "", "", ""}, descriptions, {true, false, false, false});
    EXPECT_EQ(lists[0].size(), 1u);
    EXPECT_TRUE(lists[0].FindFile("Mario.smc"));
  }
  MainWindowState state = WithGame(Emulator::ZSnes, "snes/", "Mario.smc");
  ExpectRefusal(LaunchGame(state, Emulator::ZSnes), {"al suo posto c'è un collegamento"});
  EXPECT_EQ(ReadBytes(Home() / ".profile"), "profile");
  EXPECT_TRUE(fs::is_symlink("snes/Gioco.smc"));
}

}  // namespace
}  // namespace valmerin::testing
#endif
