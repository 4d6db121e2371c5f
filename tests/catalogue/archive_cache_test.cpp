// What the scan keeps about archives between starts, and what it does with a cache
// file it cannot trust.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "catalogue/archive_scan.h"
#include "support/archive_maker.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {

using testing::ArchiveKind;

class ArchiveCacheTest : public testing::FreshFolderTest {};

struct Row {
  const char* label;
  bool scanFirst;  // a start that fills the cache, before `meanwhile`
  std::function<void(const std::filesystem::path& archive)> meanwhile;
  const char* inside;  // what the next start finds in the archive
};

// A cache line for the archive as it stands, naming `game`.
std::string LineFor(const std::filesystem::path& archive, const std::string& game) {
  const FileStamp stamp = *StampOf(archive);
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
  const std::vector<Row> rows = {
      {"unchanged: not opened again", true,
       [](const std::filesystem::path& archive) {
         // Same size, same time, other bytes: only a reopened archive would notice.
         const auto time = std::filesystem::last_write_time(archive);
         const auto size = std::filesystem::file_size(archive);
         testing::WriteAll(archive, std::string(size, 'x'));
         std::filesystem::last_write_time(archive, time);
       },
       "Mario.smc"},
      {"changed: read again", true,
       [](const std::filesystem::path& archive) {
         ASSERT_TRUE(testing::MakeArchive(archive, ArchiveKind::Zip,
                                          {{"Super Luigi.smc", "rom:luigi, di più"}}));
       },
       "Super Luigi.smc"},
      {"damaged cache", false,
       [](const std::filesystem::path&) {
         testing::WriteAll("Archivi.emu", std::string("\0\xff rotto\r\n", 10));
       },
       "Mario.smc"},
      {"a game name that leaves the archive", false,
       [](const std::filesystem::path& archive) {
         testing::WriteAll("Archivi.emu",
                           kHeader + LineFor(archive, "../../Descrizioni.emu") + "\r\n");
       },
       "Mario.smc"},
      {"a last line cut short", false,
       [](const std::filesystem::path& archive) {
         testing::WriteAll("Archivi.emu", kHeader + LineFor(archive, "Falso.smc"));
       },
       "Mario.smc"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::filesystem::remove_all("zs");
    std::filesystem::remove("Archivi.emu");
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
    if (row.scanFirst) ASSERT_EQ(scan(), "Mario.smc");
    row.meanwhile(archive);
    EXPECT_EQ(scan(), row.inside);
    // What is left for the next start is the truth about the archive as it is now.
    if (std::string(row.label) != "unchanged: not opened again") {
      EXPECT_EQ(testing::ReadAll("Archivi.emu"), kHeader + LineFor(archive, row.inside) + "\r\n");
    }
  }
}

// An archive at a copy name (a stranger's file, or one an emulator wrote beside
// its copy) is never a game of the list, as no ROM there is.
TEST_F(ArchiveCacheTest, NothingAtACopyNameIsListed) {
  const struct {
    const char* name;
    bool listed;
  } cases[] = {
      {"Gioco.zip", false}, {"GIOCO.ZIP", false}, {"gioco.7z", true},  // "Gioco." and two
      {"Giocondo.zip", true}, {"Il Gioco.zip", true},
  };
  std::filesystem::create_directory("zs");
  for (const auto& c : cases) {
    ASSERT_TRUE(testing::MakeArchive(std::filesystem::path("zs") / c.name, ArchiveKind::Zip,
                                     {{"Mario.smc", "rom:mario"}}));
  }
  GameLists lists;
  std::array<ArchiveGames, kEmulatorCount> games;
  ScanZSnes(lists, games);
  for (const auto& c : cases) EXPECT_EQ(lists[0].FindFile(c.name).has_value(), c.listed) << c.name;
}

TEST(ArchiveGameChoice, FirstPatternThenNameAndNeverASystemCard) {
  struct Case {
    Emulator emulator;
    std::vector<std::string> files;
    const char* chosen;  // nullptr: not listed
  };
  const std::vector<Case> cases = {
      {Emulator::MagicEngine, {"SYSCARD3.PCE", "Bonk.pce"}, "Bonk.pce"},
      {Emulator::MagicEngine, {"giochi/syscard3.pce"}, nullptr},
      {Emulator::MagicEngine, {"Il mio syscard.PCE"}, "Il mio syscard.PCE"},
      {Emulator::KGen, {"Sonic.bin", "Sonic.smd"}, "Sonic.smd"},
      {Emulator::NESticle, {"LEGGIMI.txt", "mario.nes"}, "mario.nes"},
      {Emulator::ZSnes, {"b/Zelda.smc", "a/zelda.smc", "Zelda.sfc"}, "a/zelda.smc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files.front());
    const std::optional<std::string> chosen = ChooseGameInArchive(c.emulator, c.files);
    EXPECT_EQ(chosen.has_value(), c.chosen != nullptr);
    if (chosen && c.chosen) EXPECT_EQ(*chosen, c.chosen);
  }
}

}  // namespace
}  // namespace valmerin
