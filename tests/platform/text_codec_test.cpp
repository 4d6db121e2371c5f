#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace valmerin {
namespace {

TEST(TextCodec, EveryByteSurvivesDecodeAndEncodeAsTheCodePageLetter) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string text = DecodeCp1252(all);
  EXPECT_TRUE(FitsCp1252(text));
  EXPECT_EQ(EncodeCp1252(text), all);
  EXPECT_EQ(DecodeCp1252("\x80\x8A\x9F"), "€ŠŸ");
  EXPECT_EQ(DecodeCp1252("\x93Gioc\xF2\x94"), "“Giocò”");
  EXPECT_EQ(DecodeCp1252("\xE0\xE8\xEC\xF2\xF9\xFF"), "àèìòùÿ");
  // The undefined bytes become the C1 controls of the same number.
  EXPECT_EQ(DecodeCp1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(DecodeCp1252(std::string_view("a\0b\r\n", 5)), std::string_view("a\0b\r\n", 5));
  EXPECT_EQ(EncodeCp1252("Perché costa 5 € – “sì”"), "Perch\xE9 costa 5 \x80 \x96 \x93s\xEC\x94");
}

TEST(TextCodec, RefusesWhatItCannotHold) {
  for (const char* text : {
           "日本",              // outside the code page
           "Ā",                 // just past Latin-1
           "\u0080",            // a C1 control that 0x80 does not stand for
           "\xF0\x9F\x8E\xAE",  // a character beyond the basic plane
           "\x80",              // a lone continuation byte
           "\xC3",              // a truncated sequence
           "\xC0\xA0",          // an overlong blank
           "\xED\xA0\x80",      // a surrogate
       }) {
    const std::string withContext = std::string("ok ") + text + " ok";
    EXPECT_EQ(EncodeCp1252(withContext), std::nullopt) << withContext;
    EXPECT_FALSE(FitsCp1252(withContext)) << withContext;
  }
}

// Names compare as the Windows file systems do: letters without regard to case,
// anything else exactly (bytes that are not UTF-8 included).
TEST(TextCodec, NamesAreEqualWithoutRegardToCase) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"Gioco.smc", "GIOCO.SMC", true},
      {"gioco.", "Gioco.", true},
      {"Gioco", "Gioco.", false},
      {"@", "`", false},
      {"[", "{", false},
      {"Città", "CITTÀ", true},
      {"Città", "CITTA", false},
      {"Ÿ.nes", "ÿ.NES", true},
      {"ab\xE9", "AB\xC9", false},
      {"", "", true},
      {"Perché", "perchè", false},
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.a << " " << c.b;
}

}  // namespace
}  // namespace valmerin
