#include "catalogue/record_file.h"

#include <gtest/gtest.h>

#include <random>

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
      {"2.5", 3},         {"-2.5", -3},  {"2.4", 2},      {"32767", 32767},
      {"-32768", -32768}, {"32768", {}}, {"32767.5", {}}, {std::string(400, '9'), {}},
      {"\"12\"", 12},     {"\" 70 \"", 70}, {"\"7 0\"", {}}, {"abc", {}},   {"#TRUE#", -1},  {"", 0}};
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

}  // namespace
}  // namespace valmerin
