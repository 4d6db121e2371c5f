// The game lists: what the scans of the emulators' folders put in them (plain ROM files,
// and games inside archives), what a filter shows of them and what an export writes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "catalogue/archive_scan.h"
#include "catalogue/game_filter.h"
#include "catalogue/game_list_export.h"
#include "catalogue/rom_scan.h"
#include "support/archive_maker.h"
#include "support/fresh_folder.h"
#include "support/recording_hooks.h"
#include "support/shown_texts.h"

namespace valmerin {
namespace {

using Lines = std::vector<std::string>;

class RomScanTest : public testing::FreshFolderTest {
 protected:
  RomScanTest() { state.EmulatorFolder = {"zs/", "kg/", "ne/", "pce/"}; }
  bool Scan(std::array<bool, kEmulatorCount> available, std::initializer_list<const char*> files) {
    for (const char* dir : {"zs", "kg", "ne", "pce"}) std::filesystem::create_directory(dir);
    for (const char* file : files) WriteBytes(file, "");
    return ScanInto(state.gameLists, state.EmulatorFolder, state.descriptions, available);
  }
  Lines List(Emulator e) { return testing::ShownTexts(state.gameLists[IndexOf(e)]); }
  MainWindowState state;
};

TEST_F(RomScanTest, PatternsInTableOrderAndAnyZSnesRomIsEnough) {
  EXPECT_TRUE(Scan({true, true, true, true},
                   {"zs/b.sfc", "zs/a.sfc", "zs/z.smc", "zs/x.txt", "kg/b.SMD", "ne/c.nes"}));
  EXPECT_EQ(List(Emulator::ZSnes), (Lines{"z.smc", "a.sfc", "b.sfc"}));
  EXPECT_EQ(List(Emulator::KGen), Lines{"b.SMD"});
  EXPECT_EQ(List(Emulator::NESticle), Lines{"c.nes"});
}

// A failed scan is then told in three messages, before the options window opens.
TEST_F(RomScanTest, ZSnesWithNoRomFailsButTheOthersAreStillScannedAndTheUserIsTold) {
  state.EmulatorFolder[0] = "missing/";
  EXPECT_FALSE(Scan({true, true, false, false}, {"kg/b.bin", "ne/c.nes"}));
  EXPECT_EQ(List(Emulator::KGen), Lines{"b.bin"});
  EXPECT_TRUE(List(Emulator::NESticle).empty());  // not available
  MainWindowState other;
  other.EmulatorFolder = {"missing/", "kg/", "ne/", "pce/"};
  EXPECT_TRUE(ScanInto(other.gameLists, other.EmulatorFolder, other.descriptions,
                       {false, true, true, true}));

  testing::RecordingHooks hooks;
  ScanFailure(hooks);
  EXPECT_EQ(
      hooks.calls,
      (Lines{"message: Errore nella ricerca delle ROMs. Possibili errori: PERCORSO ERRATO "
             "oppure NESSUNA ROM DISPONIBILE.",
             "message: Verrà ora aperta la schermata delle opzioni. Selezionare la cartella "
             "Generale e inserire i percorsi corretti per i vari emulatori.",
             "message: Dopo aver corretto i percorsi, riavviare il programma", "options window"}));
}

TEST_F(RomScanTest, FolderIsAPlainPrefixWithoutSeparator) {
  state.EmulatorFolder[0] = "zs";
  EXPECT_TRUE(Scan({true, false, false, false}, {"zsgioco.smc", "zs/dentro.smc"}));
  EXPECT_EQ(List(Emulator::ZSnes), Lines{"zsgioco.smc"});
}

TEST_F(RomScanTest, SystemCardsAreLeftOutByTheirFirstSevenLetters) {
  Scan({false, false, false, true}, {"pce/SYSCARD3.PCE", "pce/syscard.pce", "pce/Bonk.pce",
                                     "pce/miosyscard.PCE", "pce/sys.pce"});
  EXPECT_EQ(List(Emulator::MagicEngine), (Lines{"Bonk.pce", "miosyscard.PCE", "sys.pce"}));
}

TEST_F(RomScanTest, SharedFolderListsAFileTwiceAndDescriptionsApply) {
  state.EmulatorFolder[1] = "zs/";
  state.descriptions.Add("Mario.smc", "case differs");
  state.descriptions.Add("gioco.1", "Uno");
  state.descriptions.Add("Uno", "Uno, seconda");
  ASSERT_TRUE(Scan({true, true, false, false}, {"zs/gioco.1", "zs/mario.smc", "zs/Sonic.smd"}));
  EXPECT_EQ(List(Emulator::ZSnes), (Lines{"mario.smc", "Uno, seconda"}));
  EXPECT_EQ(List(Emulator::KGen), (Lines{"Sonic.smd", "Uno, seconda"}));
}

TEST_F(RomScanTest, LargeFoldersAreListedWhole) {
  for (int i = 0; i < 1500; ++i) WriteBytes("zs/g" + std::to_string(i) + ".smc", "");
  EXPECT_TRUE(Scan({true, false, false, false}, {}));
  EXPECT_EQ(List(Emulator::ZSnes).size(), 1500u);
}

// What the scan keeps about archives between starts, and what it does with a cache
// file it cannot trust.
using testing::ArchiveKind;

using ArchiveCacheTest = testing::FreshFolderTest;

// A cache line for "zs/Mario.zip" as it stands, naming `game`.
std::string LineFor(const std::string& game) {
  const FileStamp stamp = *StampOf("zs/Mario.zip");
  return "0\t" + std::to_string(stamp.size) + "\t" + std::to_string(stamp.time) +
         "\tzs/Mario.zip\t" + game;
}

constexpr const char* kHeader = "Valmerin archivi 1\r\n";

// A start's scan of the ZSnes folder "zs/": the listing, then its archives.
void ScanZSnes(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games) {
  const std::array<std::string, kEmulatorCount> folders = {"zs/", "kg/", "ne/", "pce/"};
  ListedArchives listed;
  ScanInto(lists, folders, Descriptions(), {true, false, false, false}, &listed);
  ScanArchivesWithCache(lists, games, folders, listed, Descriptions(), {true, false, false, false});
}

TEST_F(ArchiveCacheTest, UnchangedArchivesAreTakenFromTheCacheAndNothingElseIsTrusted) {
  // Each row: whether a start fills the cache first, what happens to the archive or
  // the cache meanwhile, and what the next start finds in the archive.
  using Meanwhile = std::function<void(const std::filesystem::path&)>;
  const std::tuple<const char*, bool, Meanwhile, const char*> rows[] = {
      {"unchanged: not opened again", true,
       [](const auto& zip) {
         // Same size, same time, other bytes: only a reopened archive would notice.
         const auto time = std::filesystem::last_write_time(zip);
         WriteBytes(zip, std::string(std::filesystem::file_size(zip), 'x'));
         std::filesystem::last_write_time(zip, time);
       },
       "Mario.smc"},
      {"changed: read again", true,
       [](const auto& zip) {
         ASSERT_TRUE(testing::MakeArchive(zip, ArchiveKind::Zip,
                                          {{"Super Luigi.smc", "rom:luigi, di più"}}));
       },
       "Super Luigi.smc"},
      {"damaged cache", false,
       [](const auto&) { WriteBytes("Archivi.emu", std::string("\0\xff rotto\r\n", 10)); },
       "Mario.smc"},
      {"a game name that leaves the archive", false,
       [](const auto&) {
         WriteBytes("Archivi.emu", kHeader + LineFor("../../Descrizioni.emu") + "\r\n");
       },
       "Mario.smc"},
      {"a last line cut short", false,
       [](const auto&) { WriteBytes("Archivi.emu", kHeader + LineFor("Falso.smc")); }, "Mario.smc"},
  };
  for (const auto& [label, scanFirst, meanwhile, inside] : rows) {
    SCOPED_TRACE(label);
    for (const char* old : {"zs", "Archivi.emu"}) std::filesystem::remove_all(old);
    std::filesystem::create_directory("zs");
    const std::filesystem::path archive = "zs/Mario.zip";
    ASSERT_TRUE(testing::MakeArchive(archive, ArchiveKind::Zip,
                                     {{"LEGGIMI.txt", "leggi"}, {"Mario.smc", "rom:mario"}}));
    // A whole second, which every system can set back exactly.
    std::filesystem::last_write_time(archive, std::chrono::floor<std::chrono::seconds>(
                                                  std::filesystem::last_write_time(archive)));
    const auto scan = [] {
      GameLists lists;
      std::array<ArchiveGames, kEmulatorCount> games;
      ScanZSnes(lists, games);
      const auto found = games[0].find("Mario.zip");
      return found == games[0].end() ? std::string("(non elencato)") : found->second;
    };
    if (scanFirst) {
      ASSERT_EQ(scan(), "Mario.smc");
    }
    meanwhile(archive);
    EXPECT_EQ(scan(), inside);
    // What is left for the next start is the truth about the archive as it is now.
    if (std::string(label) != "unchanged: not opened again") {
      EXPECT_EQ(ReadBytes("Archivi.emu"), kHeader + LineFor(inside) + "\r\n");
    }
  }
}

// An archive at a copy name (a stranger's file, or one an emulator wrote beside
// its copy) is never a game of the list, as no ROM there is.
TEST_F(ArchiveCacheTest, NothingAtACopyNameIsListed) {
  const std::pair<const char*, bool> cases[] = {
      {"Gioco.zip", false},   {"GIOCO.ZIP", false},   {"gioco.7z", true},  // "Gioco." and two
      {"Giocondo.zip", true}, {"Il Gioco.zip", true},
  };
  std::filesystem::create_directory("zs");
  for (auto [name, listed] : cases) {
    ASSERT_TRUE(testing::MakeArchive(std::filesystem::path("zs") / name, ArchiveKind::Zip,
                                     {{"Mario.smc", "rom:mario"}}));
  }
  GameLists lists;
  std::array<ArchiveGames, kEmulatorCount> games;
  ScanZSnes(lists, games);
  for (auto [name, listed] : cases) EXPECT_EQ(lists[0].FindFile(name).has_value(), listed) << name;
}

TEST(ArchiveGameChoice, FirstPatternThenNameAndNeverASystemCard) {
  const std::tuple<Emulator, std::vector<std::string>, std::optional<std::string>> cases[] = {
      {Emulator::MagicEngine, {"SYSCARD3.PCE", "Bonk.pce"}, "Bonk.pce"},
      {Emulator::MagicEngine, {"giochi/syscard3.pce"}, std::nullopt},  // not listed
      {Emulator::MagicEngine, {"Il mio syscard.PCE"}, "Il mio syscard.PCE"},
      {Emulator::KGen, {"Sonic.bin", "Sonic.smd"}, "Sonic.smd"},
      {Emulator::NESticle, {"LEGGIMI.txt", "mario.nes"}, "mario.nes"},
      {Emulator::ZSnes, {"b/Zelda.smc", "a/zelda.smc", "Zelda.sfc"}, "a/zelda.smc"},
  };
  for (const auto& [emulator, files, chosen] : cases) {
    EXPECT_EQ(ChooseGameInArchive(emulator, files), chosen) << files.front();
  }
}

TEST(GameFilterTest, MatchesAnyPartOfTheShownTextIgnoringCaseAndAccents) {
  GameList list;
  for (const char* shown : {"Città Sommersa", "CITTADELLA", "Mario.smc", "Œuvre Noire", "Šahovnica",
                            "Cafe\xcc\x81 Racer", "Cafè", "Citt\xe0.NES", "日本の城"}) {
    list.Add(std::string("f") + shown, shown);
  }
  GameFilter filter;
  filter.Prepare(list);
  const std::pair<std::string, std::vector<std::uint32_t>> cases[] = {
      {"", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"citta", {0, 1}},  // the stray Windows-1252 byte is no "a"
      {"CITTÀ", {0, 1}},
      {"à s", {0}},
      {"o.s", {2}},     // what is typed is plain text, no pattern
      {"oeuvre", {3}},  // Œ stands for both letters
      {"sah", {4}},
      {"cafe", {5, 6}},  // a combining accent is dropped as well
      {"\xe0", {7}},     // the stray byte finds itself
      {"の城", {8}},
      {"sommersa cittadella", {}},  // no hit spans two entries
      {"x", {}},
  };
  for (const auto& [typed, rows] : cases) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(filter.Match(typed), rows);
    // Narrowing the answer of every shorter start gives the same answer.
    for (std::size_t n = 0; n < typed.size(); ++n) {
      if ((static_cast<unsigned char>(typed[n]) & 0xC0) == 0x80) continue;  // mid-letter
      EXPECT_EQ(filter.Narrow(typed, filter.Match(typed.substr(0, n))), rows) << n;
    }
  }
  EXPECT_TRUE(filter.PreparedFor(list));
  list.ReplaceShown("Mario.smc", "Super Mario");
  EXPECT_FALSE(filter.PreparedFor(list));  // a changed list is folded again
}

// Four empty lists give seventeen lines; entries stand under their emulator and
// nothing follows the last.
TEST(ExportLinesTest, HeadingsAndEntries) {
  EXPECT_EQ(ExportLines({}),
            (Lines{"Lista ROMs - creata con valmerin", "", "ZSnes", "-----", "", "", "KGen", "----",
                   "", "", "NESticle", "--------", "", "", "Magic Engine", "------------", ""}));
  GameLists lists;
  lists[IndexOf(Emulator::ZSnes)].Add("Mario.smc", "Super Mario World");
  lists[IndexOf(Emulator::MagicEngine)].Add("Bonk.PCE", "Bonk.PCE");
  EXPECT_EQ(ExportLines(lists),
            (Lines{"Lista ROMs - creata con valmerin", "", "ZSnes", "-----", "",
                   "Super Mario World", "", "KGen", "----", "", "", "NESticle", "--------", "", "",
                   "Magic Engine", "------------", "", "Bonk.PCE"}));
}

TEST(PaginateTest, CutsIntoFullPagesAndAlwaysGivesOne) {
  EXPECT_EQ(Paginate({}, 10), (std::vector<Lines>{Lines{}}));
  EXPECT_EQ(Paginate({"a", "b", "c", "d", "e"}, 2),
            (std::vector<Lines>{{"a", "b"}, {"c", "d"}, {"e"}}));
  EXPECT_EQ(Paginate({"a", "b"}, 0), (std::vector<Lines>{{"a"}, {"b"}}));
}

// A failed export says why, as every other save does, and leaves what stood at the
// path as it was.
using GameListFileTest = testing::FreshFolderTest;

TEST_F(GameListFileTest, AFailedWriteSaysWhyAndLeavesThePathAsItWas) {
  GameLists lists;
  lists[0].Add("Mario.smc", "Super Mario");
  std::filesystem::create_directory("cartella");
  WriteBytes("vecchia.txt", "vecchia");
  const std::tuple<const char*, SaveResult, FileError> cases[] = {
      {"lista.txt", SaveResult::Saved, FileError::None},
      {"cartella", SaveResult::WriteFailed, FileError::NotRegular},
      {"manca/lista.txt", SaveResult::WriteFailed, FileError::Missing},
  };
  for (auto [path, result, error] : cases) {
    const SaveOutcome outcome = WriteGameListFile(path, lists);
    EXPECT_EQ(outcome.result, result) << path;
    EXPECT_EQ(outcome.error, error) << path;
  }
  EXPECT_NE(ReadBytes("lista.txt").find("\r\nSuper Mario\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory("cartella"));

  lists[1].Add("Omega.smd", "\u03a9mega");  // no such letter in the code page
  EXPECT_EQ(WriteGameListFile("vecchia.txt", lists).result, SaveResult::Unencodable);
  EXPECT_EQ(ReadBytes("vecchia.txt"), "vecchia");
  EXPECT_EQ(WriteGameListFile("vecchia.txt", lists, true).result, SaveResult::Saved);
  EXPECT_NE(ReadBytes("vecchia.txt").find("\r\n?mega\r\n"), std::string::npos);
}

}  // namespace
}  // namespace valmerin
