// The data folder's files: the record format, the folder, availability and description
// files, and the play records.
#include <gtest/gtest.h>

#include <random>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "catalogue/descriptions.h"
#include "catalogue/folder_files.h"
#include "catalogue/play_records.h"
#include "catalogue/record_file.h"
#include "options/options_model.h"
#include "platform/text_codec.h"
#include "support/fresh_folder.h"
#include "support/plain_walks.h"

namespace valmerin {
namespace {

using DataFolderTest = testing::FreshFolderTest;

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

// Written values come back as written; then what the reader makes of other texts.
TEST(RecordFileTest, WrittenValuesAndReaderChoices) {
  RecordWriter w;
  w.WriteRecord({0, 1, -1, std::string("a, b"), std::string(), true, false, std::monostate{}});
  w.WriteRecord({std::monostate{}});
  EXPECT_EQ(w.Text(), "0,1,-1,\"a, b\",\"\",#TRUE#,#FALSE#,\r\n\r\n");
  EXPECT_EQ(Describe(w.Text()), "N0|N1|N-1|Ta, b|T|B#TRUE#|B#FALSE#|E|E");

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

  // A failed read leaves the destination alone.
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
  for (int count : accepted) EXPECT_GT(count, 2000);
}

TEST_F(DataFolderTest, SavesWindows1252OverAnyCaseAndRefusesWhatItCannot) {
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
  const std::tuple<const char*, const char*, const char*> cases[] = {
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
  for (auto [what, in, out] : cases) {
    EXPECT_EQ(PlayRecords::Parse(in).Write().Text(), out ? out : in) << what;
  }
}

// The counting rules, from the start of a run to its end on both clocks.
TEST(PlayRecordsTest, OnlyRealGamesAreCounted) {
  const std::uint64_t t0 = 1'000'000;
  // Each row: the awake clock at the end, whether the run counts, and for how long.
  const std::tuple<const char*, std::uint64_t, bool, std::uint64_t> cases[] = {
      {"ended at once", t0, false, 0},
      {"failed a moment after the start", t0 + 2500, false, 0},
      {"just short of a game", t0 + kShortestPlayMilliseconds - 1, false, 0},
      {"just a game", t0 + kShortestPlayMilliseconds, true, 10},
      // Eight hours went by on the wall clock, but the computer slept for all but
      // 40 minutes of them: the awake clock says 40 minutes.
      {"computer suspended meanwhile", t0 + 40 * 60 * 1000, true, 2400},
      {"clock behind the start", t0 - 60000, false, 0},
  };
  for (auto [what, awakeAtEnd, counted, seconds] : cases) {
    SCOPED_TRACE(what);
    PlayRecords records;
    EXPECT_EQ(records.CountRun(Emulator::KGen, "Sonic.bin", {1796731200, t0}, awakeAtEnd), counted);
    const PlayRecord* record = records.Find(Emulator::KGen, "Sonic.bin");
    ASSERT_EQ(record != nullptr, counted);
    if (!record) continue;
    EXPECT_EQ(record->plays, 1u);
    EXPECT_EQ(record->seconds, seconds);
    EXPECT_EQ(record->lastStart, 1796731200);
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
  for (const char* file : {"b.smc", "d.smc"}) records.SetFavourite(Emulator::ZSnes, file, true);
  records.CountRun(Emulator::ZSnes, "d.smc", {200, 0}, 60000);
  records.CountRun(Emulator::ZSnes, "e.smc", {300, 0}, 60000);
  records.CountRun(Emulator::ZSnes, "gone.smc", {400, 0}, 60000);  // file no longer listed
  records.CountRun(Emulator::KGen, "a.smc", {500, 0}, 60000);      // another emulator's
  using Rows = std::vector<std::uint32_t>;
  const Rows matched = {1, 2, 3};
  // Each row: the filter's matches (nullptr: no filter), favourites only, recent first.
  const std::tuple<const char*, const Rows*, bool, bool, Rows> cases[] = {
      {"designed order", nullptr, false, false, {0, 1, 2, 3, 4}},
      {"favourites", nullptr, true, false, {1, 3}},
      {"recent first, the rest in list order", nullptr, false, true, {4, 3, 0, 1, 2}},
      {"filtered, recent first", &matched, false, true, {3, 1, 2}},
      {"filtered favourites, recent first", &matched, true, true, {3, 1}},
  };
  for (const auto& [what, filtered, favourites, recent, rows] : cases) {
    EXPECT_EQ(PlayView(list, Emulator::ZSnes, records, filtered, favourites, recent), rows) << what;
  }
}

TEST_F(DataFolderTest, SavedInTheCodePageAndNeverOverAnUnreadableFile) {
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

TEST_F(DataFolderTest, FoldersReadInFileOrderAndDefaultsFillOnlyEmptyOnes) {
  // Each row: the file's name (nullptr: no file), its bytes, the folders in tab order.
  const std::tuple<const char*, const char*, Folders> cases[] = {
      {nullptr, "", {"C:\\ZSnes\\", "C:\\KGen\\", "C:\\NESticle\\", "C:\\PCE\\"}},
      {"Cartelle.cfg", "\"a\\\"\r\n\"b\"\r\n", {"a\\", "C:\\KGen\\", "b", "C:\\PCE\\"}},
      {"CARTELLE.CFG", "\"z\"\r\n\"\"\r\n\"k\"\r\n\" \"\r\n", {"z", "k", "C:\\NESticle\\", " "}},
  };
  for (const auto& [name, bytes, expected] : cases) {
    std::filesystem::remove("Cartelle.cfg");
    if (name) WriteBytes(name, bytes);
    Folders read;
    ASSERT_EQ(ReadFolderFile(read), name != nullptr) << name;
    ApplyDefaultFolders(read);
    EXPECT_EQ(read, expected) << name;
  }
}

TEST_F(DataFolderTest, WritersReadBackAndReplaceTheOtherSpelling) {
  WriteBytes("Disponibili.emu", "0,0,0,0\r\n");
  ASSERT_EQ(WriteAvailabilityFile({1, 0, 2, 0}), SaveResult::Saved);
  EXPECT_EQ(ReadBytes("Disponibili.emu"), "1,2,0,0\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);

  const Folders written{"C:\\Giochi\\", "K\\", "", "C:\\Magic, Engine\\"};
  ASSERT_EQ(WriteFolderFile(written), SaveResult::Saved);
  EXPECT_EQ(ReadBytes("Cartelle.cfg"),
            "\"C:\\Giochi\\\"\r\n\"\"\r\n\"K\\\"\r\n\"C:\\Magic, Engine\\\"\r\n");
  Folders read;
  ASSERT_TRUE(ReadFolderFile(read));
  EXPECT_EQ(read, written);

  // A folder that would shift the others at the next start is refused whole.
  EXPECT_EQ(WriteFolderFile({"a\"b", "", "", ""}), SaveResult::Unencodable);
  EXPECT_EQ(WriteFolderFile({"日本", "", "", ""}), SaveResult::Unencodable);
  ASSERT_TRUE(ReadFolderFile(read));
  EXPECT_EQ(read, written);
}

// Any number but 0 is available, in file order. The start-up and the options window
// read one file and mean the same by each value, so the next OK never switches an
// emulator off (or on) behind the user.
TEST_F(DataFolderTest, AvailabilityIsANumberOtherThanZeroAndTheOptionsWindowAgrees) {
  std::vector<std::pair<std::string, std::array<bool, 4>>> cases = {
      {"0,1,1,0", {false, true, true, false}},  // tab order of the result
      {"1", {true, false, false, false}},
      {"2,,abc,-1", {true, false, false, true}},
      // Hand edits: any number but 0, however written; a quoted number too.
      {"0.4,99999,\" 1\",0.0", {true, true, true, false}},
  };
  const std::pair<const char*, bool> firsts[] = {
      {"0.4", true}, {"\"0.4\"", true}, {"\"99999\"", true}, {"99999", true},
      {"-3", true},  {"2", true},       {"0", false},        {"\"0\"", false},
  };
  for (auto [first, available] : firsts) {
    cases.push_back({std::string(first) + ",0,0,0", {available, false, false, false}});
  }
  for (const auto& [file, expected] : cases) {
    WriteBytes("Disponibili.emu", file + "\r\n");
    Availability read;
    ReadAvailabilityFile(read);
    for (int i = 0; i < kEmulatorCount; ++i) EXPECT_EQ(IsAvailable(read[i]), expected[i]) << file;
    OptionsModel options;
    options.RunWindowStartup();
    EXPECT_EQ(options.Check(71) != 0, expected[0]) << file;
  }

#ifndef _WIN32  // where names differ in letter case only, both can be there
  // Both spellings present: OK writes the one the start-up reads.
  WriteBytes("disponibili.emu", "0,0,0,0\r\n");
  ASSERT_EQ(WriteAvailabilityFile({1, 0, 0, 0}), SaveResult::Saved);
  Availability read;
  ReadAvailabilityFile(read);
  EXPECT_TRUE(IsAvailable(read[IndexOf(Emulator::ZSnes)]));
  EXPECT_EQ(ReadBytes("disponibili.emu"), "0,0,0,0\r\n");

  // A folder file that cannot be read is no folder file: nothing is available.
  if (geteuid() != 0) {
    WriteBytes("Cartelle.cfg", "\"C:\\Z\\\"\r\n");
    std::filesystem::permissions("Cartelle.cfg", std::filesystem::perms::none);
    Folders folders;
    EXPECT_FALSE(ReadFolderFile(folders));
    std::filesystem::permissions("Cartelle.cfg", std::filesystem::perms::owner_all);
  }
#endif
}

Descriptions Make(std::initializer_list<std::pair<const char*, const char*>> records) {
  Descriptions d;
  for (auto [key, text] : records) d.Add(key, text);
  return d;
}

// Each name resolved alone and all in one batch, both against the plain walk.
void ExpectPlainWalks(const Descriptions& d, const std::vector<std::string_view>& names) {
  std::vector<std::string_view> shown(names.size());
  d.ResolveViews(names, shown);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string plain = reference::PlainResolveGameName(d, names[i]);
    ASSERT_EQ(d.ResolveView(names[i]), plain) << names[i];
    ASSERT_EQ(shown[i], plain) << names[i];
  }
}

TEST(DescriptionWalksTest, ChainsFollowFileOrder) {
  EXPECT_EQ(Make({{"A", "B"}, {"B", "C"}}).ResolveView("A"), "C");
  EXPECT_EQ(Make({{"B", "C"}, {"A", "B"}}).ResolveView("A"), "B");
  EXPECT_EQ(Make({{"A", "B"}, {"A", "C"}}).ResolveView("A"), "B");
  EXPECT_EQ(Make({{"Mario.smc", "M"}}).ResolveView("mario.smc"), "mario.smc");
}

TEST(DescriptionWalksTest, IndexedWalksMatchPlainWalksOnRandomRecords) {
  // A small alphabet makes chains, repeated keys and cycles common.
  const std::vector<std::string> words = {"A", "B", "C", "D", "", "a"};
  std::mt19937 random(99);
  for (int round = 0; round < 5000; ++round) {
    Descriptions d;
    for (int i = random() % 40; i > 0; --i) {
      d.Add(words[random() % words.size()], words[random() % words.size()]);
    }
    SCOPED_TRACE(round);
    ExpectPlainWalks(d, {words.begin(), words.end()});
    if (HasFatalFailure()) return;
  }
}

// How fast the walk is, is measured in bench/; here, that its jumps from match to
// match land where the plain walk would at the sizes the benchmarks use, and
// along long runs of one key.
TEST(DescriptionWalksTest, LargeFilesAndLongRunsOfOneKeyResolveLikeThePlainWalk) {
  Descriptions d;
  for (int i = 0; i < 100000; ++i) d.Add("g" + std::to_string(i), "d" + std::to_string(i));
  // Chains of three lengths, so a walk that lands one record off cannot end on
  // the right text by luck.
  for (const int pairs : {20000, 20001, 20002}) {
    const std::string name = std::to_string(pairs) + ".smc";
    const std::string other = std::to_string(pairs);
    for (int i = 0; i < pairs; ++i) {
      d.Add(name, other);
      d.Add(other, name);
    }
    d.Add(name, "Fine " + other);
  }
  d.Add("d7", "g8");
  std::vector<std::string> names;
  for (int i = 0; i < 100000; i += 997) names.push_back("g" + std::to_string(i));
  names.push_back("senza descrizione.smc");
  ExpectPlainWalks(d, {names.begin(), names.end()});  // several batches, the last one short
  ASSERT_FALSE(HasFatalFailure());
  for (const char* pairs : {"20000", "20001", "20002"}) {
    EXPECT_EQ(d.ResolveView(std::string(pairs) + ".smc"), "Fine " + std::string(pairs));
    EXPECT_EQ(d.ResolveView(pairs), "Fine " + std::string(pairs));
  }
  EXPECT_EQ(d.ResolveView("g7"), "g8");  // a later record moves on from the first answer
}

TEST_F(DataFolderTest, LoadingHasNoLimitStopsAtAnEmptyKeyAndPadsAShortRecord) {
  EXPECT_EQ(ReadDescriptions().Count(), 0u);
  std::string file;
  for (int i = 0; i < 1500; ++i) file += "k" + std::to_string(i) + "\r\nv\r\n";
  WriteBytes("descrizioni.EMU", file + "ultimo");
  auto d = ReadDescriptions();
  ASSERT_EQ(d.Count(), 1501u);
  EXPECT_EQ(d.Text(1500), "");
  WriteBytes("descrizioni.EMU", "a\r\nA\r\n\r\nnascosto\r\nb\r\nB\r\n");
  EXPECT_EQ(ReadDescriptions().Count(), 1u);
  // Megabytes of records: the reader lets go of its text as it goes, never of a
  // field still to be kept.
  file.clear();
  for (int i = 0; i < 200000; ++i)
    file += "chiave " + std::to_string(i) + "\r\n\"Testo è " + std::to_string(i) + "\"\r\n";
  WriteBytes("descrizioni.EMU", EncodeCp1252(file).value());
  d = ReadDescriptions();
  ASSERT_EQ(d.Count(), 200000u);
  for (std::size_t i = 0; i < d.Count(); ++i) {
    ASSERT_EQ(d.Key(i), "chiave " + std::to_string(i));
    ASSERT_EQ(d.Text(i), "Testo è " + std::to_string(i));
  }
}

TEST_F(DataFolderTest, AwkwardPairsAreAppendedSoTheyReadBackWhole) {
  WriteBytes("Descrizioni.emu", "a.smc\r\nPrimo");  // edited by hand: no last line end
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"a.smc", "Primo"},
      {"b.smc", "Super Mario, il ritorno"},
      {"  spazi  ", "Citazione \"finale\" "},
      {"c.smc", ""},
      {"#TRUE#", "12 "},
      {"d.pce", "Perché sì €"}};
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    ASSERT_EQ(AppendDescription(pairs[i].first, pairs[i].second), SaveResult::Saved) << i;
  }
  auto d = ReadDescriptions();
  ASSERT_EQ(d.Count(), pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(d.Key(i), pairs[i].first);
    EXPECT_EQ(d.Text(i), pairs[i].second);
  }
}

TEST_F(DataFolderTest, RefusedPairsWriteNothing) {
  EXPECT_EQ(CheckDescriptionStorable("", "x"), DescriptionProblem::EmptyKey);
  EXPECT_EQ(CheckDescriptionStorable("a", "due\r\nrighe"), DescriptionProblem::LineBreak);
  EXPECT_EQ(CheckDescriptionStorable(" \"k", "x"), DescriptionProblem::Quote);
  EXPECT_EQ(CheckDescriptionStorable("a", "\"a\", b"), DescriptionProblem::Quote);
  EXPECT_EQ(CheckDescriptionStorable("a", "日本"), DescriptionProblem::NotInCodePage);
  EXPECT_EQ(AppendDescription("", "x"), SaveResult::Unencodable);
  EXPECT_EQ(AppendDescription("a", "日本"), SaveResult::Unencodable);
  EXPECT_FALSE(std::filesystem::exists("Descrizioni.emu"));
  std::filesystem::create_directory("Descrizioni.emu");
  EXPECT_EQ(AppendDescription("a", "b"), SaveResult::WriteFailed);
}

}  // namespace
}  // namespace valmerin
