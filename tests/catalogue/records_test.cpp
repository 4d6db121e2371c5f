// The record files of the data folder, and the play records kept in one of them.
#include <gtest/gtest.h>

#include <random>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "catalogue/play_records.h"
#include "catalogue/record_file.h"
#include "platform/text_codec.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {

// Every field of a text as kind letter + characters, joined by "|".
std::string Describe(std::string text) {
  FieldReader reader(std::move(text));
  std::string out;
  FieldValue f;
  while (reader.ReadField(f)) {
    if (!out.empty()) out += '|';
    out += "ENBT"[static_cast<int>(f.kind)];
    out += f.AsText();
  }
  return out;
}

TEST(RecordFileTest, WriteRecordValuesComeBackAsWritten) {
  RecordWriter w;
  w.WriteRecord({0, 1, -1, std::string("a, b"), std::string(), true, false, std::monostate{}});
  w.WriteRecord({std::monostate{}});
  EXPECT_EQ(w.Text(), "0,1,-1,\"a, b\",\"\",#TRUE#,#FALSE#,\r\n\r\n");
  EXPECT_EQ(Describe(w.Text()), "N0|N1|N-1|Ta, b|T|B#TRUE#|B#FALSE#|E|E");
}

TEST(RecordFileTest, ReaderChoices) {
  const std::pair<const char*, const char*> cases[] = {
      {"  \tdue parole  \r\n", "Tdue parole  "},  // leading blanks skipped, trailing kept
      {"a\rb\nc\r\nd\n\re", "Ta|Tb|Tc|Td|E|Te"},  // every line-end spelling counts once
      {"\"abc\"xyz,5\r\n\"a,\r\nb\",c", "Tabc|N5|Ta,\r\nb|Tc"},
      {"\"never closed, x\r\ny", "Tnever closed, x\r\ny"},
      {"x\r\n   ", "Tx|E"},  // cut off by the end: as if a line end followed
      {"+5,-0.5,.5,5.,007,12  ", "N+5|N-0.5|N.5|N5.|N007|N12  "},
      {"1e3,1.2.3,-,.,+-1,1 2,&H10,#true#", "T1e3|T1.2.3|T-|T.|T+-1|T1 2|T&H10|T#true#"},
  };
  for (auto [text, expected] : cases) EXPECT_EQ(Describe(text), expected) << text;
}

TEST(RecordFileTest, FailedReadLeavesTheDestinationAlone) {
  FieldReader reader("uno\r\n"), missing;
  FieldValue f;
  ASSERT_TRUE(reader.ReadField(f));
  f.text = "prima";
  EXPECT_FALSE(reader.ReadField(f));
  EXPECT_FALSE(missing.ReadField(f));
  EXPECT_EQ(f.AsText(), "prima");
}

TEST(RecordFileTest, WholeNumbersRoundHalfAwayFromZeroWithinSixteenBits) {
  const std::pair<std::string, std::optional<int>> cases[] = {
      {"2.5", 3},         {"-2.5", -3},     {"2.4", 2},      {"32767", 32767},
      {"-32768", -32768}, {"32768", {}},    {"32767.5", {}}, {std::string(400, '9'), {}},
      {"\"12\"", 12},     {"\" 70 \"", 70}, {"\"7 0\"", {}}, {"abc", {}},
      {"#TRUE#", -1},     {"", 0}};
  for (const auto& [text, expected] : cases) {
    FieldReader reader(text + "\r\n");
    FieldValue f;
    reader.ReadField(f);
    EXPECT_EQ(f.AsWholeNumber(), expected) << text;
  }
}

TEST(RecordFileTest, DamagedBytesNeverHangOrOverrun) {
  std::vector<std::string> texts = {std::string("a\0b,\0\"c\0\"", 10),
                                    "\"" + std::string(1 << 20, 'y')};
  for (char c : {'x', '"', ',', '\r', ' '}) texts.emplace_back(1 << 20, c);
  std::mt19937 random(7);
  const std::string alphabet("\0 \t\",\r\n#1.-a\xE8\xFF", 14);
  for (int i = 0; i < 3000; ++i) {
    std::string& t = texts.emplace_back(random() % 40, ' ');
    for (char& c : t) c = alphabet[random() % alphabet.size()];
  }
  for (const std::string& text : texts) {  // every read consumes at least one byte
    FieldReader reader(text);
    FieldReader textReader(text);  // the copy-free text reads keep in step
    FieldValue f;
    std::string_view view;
    std::size_t reads = 0;
    while (reader.ReadField(f)) {
      ASSERT_LE(++reads, text.size());
      ASSERT_TRUE(textReader.ReadFieldText(view));
      ASSERT_EQ(view, f.AsText());
    }
    EXPECT_FALSE(textReader.ReadFieldText(view));
  }
}

// Random texts of the pieces that trouble the format most, each written, stored
// through the code page and read back, followed by a line that must stay in step.
TEST(RecordFileTest, AcceptedTextsReadBackWholeAndPlainLinesAreRefusedOnlyWhenNeeded) {
  const std::vector<std::string> pieces = {" ",      "\t", "\"", ",",  "\r",   "\n",
                                           "#TRUE#", "0",  "-",  ".",  "a",    "à",
                                           "€",      "ÿ",  "Ā",  "日", "\xC3", "\xC2\x81"};
  std::mt19937 random(20240);
  int accepted[2] = {0, 0};
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int i = random() % 8; i > 0; --i) text += pieces[random() % pieces.size()];
    for (bool plain : {false, true}) {
      if (plain ? !PlainLineReadsBack(text) : !TextReadsBack(text)) continue;
      ++accepted[plain];
      RecordWriter w;
      plain ? w.WritePlainLine(text) : w.WriteRecord({text});
      w.WritePlainLine("fine");
      FieldReader reader(DecodeCp1252(EncodeCp1252(w.Text()).value()));
      FieldValue f, next;
      ASSERT_TRUE(reader.ReadField(f) && reader.ReadField(next));
      ASSERT_EQ(f.AsText(), text);
      ASSERT_EQ(next.AsText(), "fine") << text;
    }
    if (!PlainLineReadsBack(text) && FitsCp1252(text)) {
      RecordWriter w;
      w.WritePlainLine(text);
      EXPECT_NE(Describe(w.Text()).substr(1), text) << "needlessly refused: " << text;
    }
  }
  EXPECT_GT(accepted[0], 2000);
  EXPECT_GT(accepted[1], 2000);
}

class RecordFileInFolderTest : public testing::FreshFolderTest {};

TEST_F(RecordFileInFolderTest, SavesWindows1252OverAnyCaseAndRefusesWhatItCannot) {
  WriteBytes("Prova.TXT", "vecchio\r\n");
  RecordWriter w, bad;
  w.WriteRecord({std::string("è€")});
  bad.WritePlainLine("日本");
  EXPECT_EQ(SaveCurrentFolderFile("prova.txt", w), SaveResult::Saved);
  EXPECT_EQ(AppendCurrentFolderFile("PROVA.txt", w), SaveResult::Saved);
  EXPECT_EQ(SaveCurrentFolderFile("prova.txt", bad), SaveResult::Unencodable);
  EXPECT_EQ(AppendCurrentFolderFile("prova.txt", bad), SaveResult::Unencodable);
  EXPECT_EQ(ReadBytes("Prova.TXT"), "\"\xE8\x80\"\r\n\"\xE8\x80\"\r\n");
  EXPECT_EQ(Describe(DecodeCp1252(ReadBytes("Prova.TXT"))), "Tè€|Tè€");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);

  std::filesystem::create_directory("cartella");
  EXPECT_EQ(SaveCurrentFolderFile("cartella", w), SaveResult::WriteFailed);
  EXPECT_EQ(AppendCurrentFolderFile("cartella", w), SaveResult::WriteFailed);
}

// What a file's text becomes after one read and one write (nullptr: the same text).
TEST(PlayRecordsTest, FileReadsBackAndKeepsWhatItCannotRead) {
  const struct {
    const char* what;
    const char* in;
    const char* out;
  } cases[] = {
      {"plain record", "\"ZSnes\",\"Mario.smc\",#TRUE#,12,13200,1796731200\r\n", nullptr},
      {"comma in the name", "\"KGen\",\"Sonic, the (E).bin\",#FALSE#,1,60,5\r\n", nullptr},
      {"quote in the name goes bare", "\"NESticle\",Il \"vero\" Zelda.nes,#TRUE#,0,0,0\r\n",
       nullptr},
      {"emulators in tab order, names sorted",
       "\"Magic Engine\",\"b.pce\",#TRUE#,0,0,0\r\n\"ZSnes\",\"z.smc\",#TRUE#,0,0,0\r\n"
       "\"ZSnes\",\"a.smc\",#TRUE#,0,0,0\r\n",
       "\"ZSnes\",\"a.smc\",#TRUE#,0,0,0\r\n\"ZSnes\",\"z.smc\",#TRUE#,0,0,0\r\n"
       "\"Magic Engine\",\"b.pce\",#TRUE#,0,0,0\r\n"},
      {"short, damaged and foreign lines kept as they were",
       "\"ZSnes\",\"a.smc\",#TRUE#\r\n\"ZSnes\",\"b.smc\",#TRUE#,x,0,0\r\n"
       "\"Snes9x\",\"c.smc\",#TRUE#,0,0,0\r\n\"ZSnes\",\"d.smc\",#TRUE#,1,2,3,4\r\n",
       nullptr},
      {"figures past any calendar kept aside, the last day of 9999 read",
       "\"ZSnes\",\"a.smc\",#TRUE#,1,18446744073709551615,5\r\n"
       "\"ZSnes\",\"b.smc\",#TRUE#,1,60,99999999999999\r\n"
       "\"ZSnes\",\"c.smc\",#TRUE#,1,253402300799,253402300799\r\n",
       "\"ZSnes\",\"c.smc\",#TRUE#,1,253402300799,253402300799\r\n"
       "\"ZSnes\",\"a.smc\",#TRUE#,1,18446744073709551615,5\r\n"
       "\"ZSnes\",\"b.smc\",#TRUE#,1,60,99999999999999\r\n"},
      {"file cut off inside a record", "\"ZSnes\",\"a.smc\",#TRUE#,1,2,3\r\n\"ZSnes\",\"b.sm",
       "\"ZSnes\",\"a.smc\",#TRUE#,1,2,3\r\n\"ZSnes\",\"b.sm\r\n"},
      {"bare line ends and blank lines", "\n\"ZSnes\",\"a.smc\",#FALSE#,1,2,3\n\r\n  \n",
       "\"ZSnes\",\"a.smc\",#FALSE#,1,2,3\r\n"},
      {"empty file", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlayRecords::Parse(c.in).Write().Text(), c.out ? c.out : c.in) << c.what;
  }
}

// The counting rules, from the start of a run to its end on both clocks.
TEST(PlayRecordsTest, OnlyRealGamesAreCounted) {
  const std::uint64_t t0 = 1'000'000;
  const struct {
    const char* what;
    std::uint64_t awakeAtEnd;
    bool counted;
    std::uint64_t seconds;
  } cases[] = {
      {"ended at once", t0, false, 0},
      {"failed a moment after the start", t0 + 2500, false, 0},
      {"just short of a game", t0 + kShortestPlayMilliseconds - 1, false, 0},
      {"just a game", t0 + kShortestPlayMilliseconds, true, 10},
      // Eight hours went by on the wall clock, but the computer slept for all but
      // 40 minutes of them: the awake clock says 40 minutes.
      {"computer suspended meanwhile", t0 + 40 * 60 * 1000, true, 2400},
      {"clock behind the start", t0 - 60000, false, 0},
  };
  for (const auto& c : cases) {
    PlayRecords records;
    const bool counted =
        records.CountRun(Emulator::KGen, "Sonic.bin", {1796731200, t0}, c.awakeAtEnd);
    EXPECT_EQ(counted, c.counted) << c.what;
    const PlayRecord* record = records.Find(Emulator::KGen, "Sonic.bin");
    ASSERT_EQ(record != nullptr, c.counted) << c.what;
    if (!record) continue;
    EXPECT_EQ(record->plays, 1u) << c.what;
    EXPECT_EQ(record->seconds, c.seconds) << c.what;
    EXPECT_EQ(record->lastStart, 1796731200) << c.what;
  }
}

TEST(PlayRecordsTest, FiguresAddUpResetAndKeepTheMark) {
  PlayRecords records;
  ASSERT_TRUE(records.SetFavourite(Emulator::ZSnes, "Città.smc", true));
  ASSERT_TRUE(records.CountRun(Emulator::ZSnes, "Città.smc", {100, 0}, 3600 * 1000));
  ASSERT_TRUE(records.CountRun(Emulator::ZSnes, "Città.smc", {50, 0}, 40 * 60 * 1000));
  const PlayRecord* record = records.Find(Emulator::ZSnes, "Città.smc");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(PlaySummary(*record, "08/12/2026 21:15"),
            "Ultima partita: 08/12/2026 21:15; 2 partite, 1 h 40 min");
  EXPECT_EQ(record->lastStart, 100);  // a run that started earlier ends later
  EXPECT_FALSE(records.Favourite(Emulator::KGen, "Città.smc"));  // keyed by emulator too

  records.ResetFigures(Emulator::ZSnes, "Città.smc");
  EXPECT_TRUE(records.Favourite(Emulator::ZSnes, "Città.smc"));
  EXPECT_EQ(PlaySummary(*records.Find(Emulator::ZSnes, "Città.smc"), "x"), "");
  ASSERT_TRUE(records.SetFavourite(Emulator::ZSnes, "Città.smc", false));
  EXPECT_EQ(records.size(), 0u);  // nothing left to keep

  // Figures at the last day the file holds stay there and still read back.
  PlayRecords full = PlayRecords::Parse("\"KGen\",\"a.bin\",#TRUE#,1,253402300000,5\r\n");
  ASSERT_TRUE(full.CountRun(Emulator::KGen, "a.bin", {kLatestPlaySecond + 9, 0}, 3600 * 1000));
  EXPECT_EQ(PlayRecords::Parse(full.Write().Text()).Write().Text(),
            "\"KGen\",\"a.bin\",#TRUE#,2,253402300799,253402300799\r\n");

  // A name that could not be read back is refused, not stored changed.
  EXPECT_FALSE(records.SetFavourite(Emulator::ZSnes, "a\",b.smc", true));
  EXPECT_FALSE(records.SetFavourite(Emulator::ZSnes, "\u4e2d.smc", true));
  EXPECT_FALSE(records.CountRun(Emulator::ZSnes, "a\",b.smc", {1, 0}, 60000));
  EXPECT_EQ(records.size(), 0u);
}

TEST(PlayRecordsTest, ViewsOfAList) {
  GameList list;
  for (const char* file : {"a.smc", "b.smc", "c.smc", "d.smc", "e.smc"}) list.Add(file, file);
  PlayRecords records;
  records.SetFavourite(Emulator::ZSnes, "b.smc", true);
  records.SetFavourite(Emulator::ZSnes, "d.smc", true);
  records.CountRun(Emulator::ZSnes, "d.smc", {200, 0}, 60000);
  records.CountRun(Emulator::ZSnes, "e.smc", {300, 0}, 60000);
  records.CountRun(Emulator::ZSnes, "gone.smc", {400, 0}, 60000);  // file no longer listed
  records.CountRun(Emulator::KGen, "a.smc", {500, 0}, 60000);      // another emulator's
  const std::vector<std::uint32_t> matched = {1, 2, 3};
  const struct {
    const char* what;
    const std::vector<std::uint32_t>* matched;
    bool favourites, recent;
    std::vector<std::uint32_t> rows;
  } cases[] = {
      {"designed order", nullptr, false, false, {0, 1, 2, 3, 4}},
      {"favourites", nullptr, true, false, {1, 3}},
      {"recent first, the rest in list order", nullptr, false, true, {4, 3, 0, 1, 2}},
      {"filtered, recent first", &matched, false, true, {3, 1, 2}},
      {"filtered favourites, recent first", &matched, true, true, {3, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlayView(list, Emulator::ZSnes, records, c.matched, c.favourites, c.recent), c.rows)
        << c.what;
  }
}

using PlayRecordsFileTest = testing::FreshFolderTest;

TEST_F(PlayRecordsFileTest, SavedInTheCodePageAndNeverOverAnUnreadableFile) {
  PlayRecords records;
  records.SetFavourite(Emulator::NESticle, "Città.nes", true);
  ASSERT_EQ(SavePlayRecords(records).result, SaveResult::Saved);
  EXPECT_EQ(ReadBytes("Partite.emu"), "\"NESticle\",\"Citt\xe0.nes\",#TRUE#,0,0,0\r\n");
  const LoadedPlayRecords loaded = ReadPlayRecords();
  EXPECT_TRUE(loaded.writable);
  EXPECT_TRUE(loaded.records.Favourite(Emulator::NESticle, "Città.nes"));
  std::filesystem::rename("Partite.emu", "PARTITE.EMU");  // found whatever the case
  EXPECT_TRUE(ReadPlayRecords().records.Favourite(Emulator::NESticle, "Città.nes"));

#ifndef _WIN32
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  std::filesystem::permissions("PARTITE.EMU", std::filesystem::perms::none);
  EXPECT_FALSE(ReadPlayRecords().writable);
  std::filesystem::permissions("PARTITE.EMU", std::filesystem::perms::owner_all);
#endif
}

}  // namespace
}  // namespace valmerin
