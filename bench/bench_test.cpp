// The suite's numbers mean something only if its data is what it claims and its
// plain walks give the same answers as the indexed ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "bench/bench_data.h"
#include "bench/peak_rss.h"
#include "bench/ratio_table.h"
#include "catalogue/folder_files.h"
#include "catalogue/rom_scan.h"
#include "hosting/folder_search.h"
#include "support/fresh_folder.h"
#include "support/plain_folder_search.h"
#include "support/plain_walks.h"

namespace valmerin::bench {
namespace {

namespace fs = std::filesystem;

Descriptions Build(const std::vector<DescriptionRecord>& records) {
  Descriptions descriptions;
  for (const auto& record : records) descriptions.Add(record.key, record.text);
  return descriptions;
}

void ExpectWalksAgree(const Descriptions& descriptions, const std::vector<std::string>& probes) {
  for (const std::string& probe : probes) {
    EXPECT_EQ(descriptions.ResolveView(probe), reference::PlainResolveGameName(descriptions, probe))
        << probe;
  }
}

TEST(PlainWalks, AgreeWithTheIndexOnTheGeneratedRecords) {
  const auto records = DescriptionRecords(3000);
  std::vector<std::string> probes;
  for (const auto& record : records) {
    probes.push_back(record.key);
    probes.push_back(record.text);
  }
  probes.push_back("Nessuna descrizione.smc");
  ExpectWalksAgree(Build(records), probes);
}

TEST(PlainWalks, AgreeOnCyclesRepeatsAndBlanks) {
  // A cycle, a record that maps a name to itself, a key given twice, a description
  // shared by two keys, and blank texts.
  const std::vector<DescriptionRecord> records = {
      {"a.smc", "B"}, {"B", "a.smc"}, {"a.smc", "C"}, {"C", "C"},    {"d.nes", "C"},
      {"e.pce", " "}, {"", "vuota"},  {"blank", ""},  {"C", "Fine"}, {"a.smc", "Fine"}};
  ExpectWalksAgree(Build(records), {"a.smc", "B", "C", "d.nes", "e.pce", " ", "", "blank", "vuota",
                                    "Fine", "ignota"});
}

TEST(PlainWalks, AgreeOnALongAlternatingChain) {
  // a.smc -> B -> a.smc -> B ... 20,000 times: each step of the indexed walks must
  // find the next record of a long run, the case a per-key list scan makes slow.
  std::vector<DescriptionRecord> records;
  for (int i = 0; i < 10000; ++i) {
    records.push_back({"a.smc", "B"});
    records.push_back({"B", "a.smc"});
  }
  records.push_back({"a.smc", "Fine"});
  ExpectWalksAgree(Build(records), {"a.smc", "B", "Fine"});
}

using GeneratedData = testing::FreshFolderTest;

TEST_F(GeneratedData, FoldersHoldEveryKindOfFileAndTheScanFindsTheRoms) {
  constexpr std::size_t kFiles = 2000;
  ASSERT_TRUE(WriteRomFolders(Root(), kFiles));
  ASSERT_TRUE(WriteCaseFolder(Root(), kFiles, 500));

  std::size_t onDisk = 0;
  for (const EmulatorInfo& info : EmulatorTable()) {
    for ([[maybe_unused]] const auto& entry :
         fs::directory_iterator(RomRoot(Root(), kFiles) / FolderNameOf(info.emulator))) {
      ++onDisk;
    }
  }
  EXPECT_EQ(onDisk, kFiles);  // names never collide

  std::array<std::size_t, kEmulatorCount> roms{};
  std::set<FileKind> kinds;
  std::set<std::string> upperExtensions;
  for (std::size_t i = 0; i < kFiles; ++i) {
    const GameFile file = GameFileAt(i);
    kinds.insert(file.kind);
    const bool systemCard = file.name.rfind("Syscard", 0) == 0;
    if (file.kind == FileKind::Rom && !systemCard) ++roms[IndexOf(file.emulator)];
    if (file.kind == FileKind::Rom) upperExtensions.insert(file.name.substr(file.name.rfind('.')));
  }
  EXPECT_EQ(kinds.size(), 3u);
  EXPECT_TRUE(upperExtensions.count(".SMC") && upperExtensions.count(".smc"));

  fs::current_path(CaseFolder(Root(), kFiles, 500));
  MainWindowState state;
  Folders folders;
  ASSERT_TRUE(ReadFolderFile(folders));
  state.EmulatorFolder = folders;
  state.descriptions = ReadDescriptions();
  EXPECT_EQ(state.descriptions.Count(), 500u);
  ASSERT_TRUE(ScanInto(state.gameLists, state.EmulatorFolder, state.descriptions,
                       {true, true, true, true}));
  for (int i = 0; i < kEmulatorCount; ++i) EXPECT_EQ(state.gameLists[i].size(), roms[i]) << i;
  // Described files show their (possibly chained) description.
  const GameList& zsnes = state.gameLists[IndexOf(Emulator::ZSnes)];
  bool chained = false;
  for (std::size_t i = 0; i < zsnes.size(); ++i) {
    chained = chained || zsnes.Shown(i).ends_with(" - edizione completa");
  }
  EXPECT_TRUE(chained);
}

TEST_F(GeneratedData, DescriptionsFileReadsBackAsGenerated) {
  ASSERT_TRUE(WriteCaseFolder(Root(), 0, 1200));
  fs::current_path(CaseFolder(Root(), 0, 1200));
  const Descriptions loaded = ReadDescriptions();
  const auto records = DescriptionRecords(1200);
  ASSERT_EQ(loaded.Count(), records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    ASSERT_EQ(loaded.Key(i), records[i].key);
    ASSERT_EQ(loaded.Text(i), records[i].text);
  }
}

TEST_F(GeneratedData, FolderSearchAgreesWithThePlainMatchAndOrder) {
  // Names that tie on their first eight folded bytes, differ only in letter case,
  // carry accented letters or end in a pattern's extension in the middle.
  const std::vector<std::string> names = {"Cavaliere Antica 2.smc",
                                          "CAVALIERE ANTICA 10.SMC",
                                          "cavaliere antica 2.Smc",
                                          "Cavaliere.smc",
                                          "Cavalier.smc",
                                          "\xc3\xa9toile.smc",
                                          "\xc3\x89TOILE.SMC",
                                          "Zelda.smc.txt",
                                          "a.1",
                                          "b.10",
                                          "smc",
                                          "Syscard3.pce"};
  for (const std::string& name : names) std::ofstream(Root() / name) << "x";
  const std::vector<std::string_view> patterns = {"*.smc", "*", "", "*a*.1", "c*a*.SMC", "*.1"};

  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return reference::PlainNameLess(a, b);
  });
  std::vector<std::vector<std::string>> expected(patterns.size());
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    for (const std::string& name : sorted) {
      if (!patterns[i].empty() && reference::PlainMatches(name, patterns[i]))
        expected[i].push_back(name);
    }
  }
  std::vector<std::vector<std::string>> visited(patterns.size());
  FolderListing(Root().string() + "/")
      .Visit(patterns, [&](std::size_t i, std::span<const std::string_view> found) {
        visited[i].assign(found.begin(), found.end());
      });
  EXPECT_EQ(visited, expected);
}

TEST(PeakRss, MeasuresAProgramThatSettlesAndRefusesOneThatDoesNot) {
  const auto settled =
      PeakRssOfSettledRun(fs::temp_directory_path(), {"/bin/sleep", "30"}, 0.3, 10);
  ASSERT_TRUE(settled.has_value());
  EXPECT_GT(*settled, 0);
  // Ended before it settled: no figure rather than a wrong one.
  EXPECT_FALSE(PeakRssOfSettledRun(fs::temp_directory_path(), {"/bin/true"}, 0.3, 10));
  EXPECT_FALSE(PeakRssOfSettledRun(fs::temp_directory_path(), {"/nonexistent/program"}, 0.3, 10));
}

TEST(RatioTable, CountsMissedTargetsAndShowsMissingFiguresAsUnknown) {
  Figures figures;
  figures.seconds["listing/100000"] = 0.010;
  figures.seconds["startup/100000/100000"] = 0.020;  // 2x the listing
  figures.seconds["resolve_indexed/100000"] = 2e-6;
  figures.seconds["resolve_plain/100000"] = 1e-3;  // 500x
  figures.seconds["scan/100000/100000"] = 0.015;
  figures.seconds["read_descriptions/100000"] = 0.010;
  figures.seconds["refresh/100000"] = 0.024;           // within the scan and the load
  figures.seconds["filter_first_key/100000"] = 0.012;  // within a frame
  figures.seconds["filter_key/100000"] = 0.002;
  std::istringstream measured(
      "first_paint 400\nfirst_paint 500\nfirst_paint 90000\n"
      "rss_empty 10000\nunknown 5\nrss_full 20000\n");
  ReadMeasuredLines(measured, figures);
  std::ostringstream table;
  // Start-up 2x, first paint 25x the start-up, 102 bytes per entry.
  EXPECT_EQ(PrintRatioTable(figures, table), 2);
  EXPECT_NE(table.str().find("n/a"), std::string::npos);
  EXPECT_NE(table.str().find("500.00x"), std::string::npos);
  EXPECT_NE(table.str().find("median of 3 starts"), std::string::npos);
  EXPECT_NE(table.str().find("102 B/entry"), std::string::npos);
}

}  // namespace
}  // namespace valmerin::bench
