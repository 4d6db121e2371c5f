#include "platform/text_codec.h"

#include <array>
#include <cstdint>

#include "platform/utf8.h"

namespace valmerin {
namespace {

// 0x80..0x9F are where Windows-1252 differs from Latin-1. The five undefined
// bytes keep their own number so that any file read can be written back as it was.
constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  //
};

constexpr std::array<char32_t, 256> MakeTable() {
  std::array<char32_t, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    table[byte] =
        (byte >= 0x80 && byte < 0xA0) ? kHighBlock[byte - 0x80] : static_cast<char32_t>(byte);
  }
  return table;
}

constexpr std::array<char32_t, 256> kCp1252 = MakeTable();

std::optional<unsigned char> ToCp1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighBlock[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

std::string DecodeCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  // Runs of ASCII, by far the most of any file, are copied as they are.
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t run = pos;
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) ++run;
    out.append(bytes.data() + pos, run - pos);
    if (run == bytes.size()) break;
    AppendUtf8(out, kCp1252[static_cast<unsigned char>(bytes[run])]);
    pos = run + 1;
  }
  return out;
}

std::optional<std::string> EncodeCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    std::optional<char32_t> cp = NextCodePoint(utf8, pos);
    if (!cp) return std::nullopt;
    std::optional<unsigned char> byte = ToCp1252Byte(*cp);
    if (!byte) return std::nullopt;
    out.push_back(static_cast<char>(*byte));
  }
  return out;
}

bool FitsCp1252(std::string_view utf8) { return EncodeCp1252(utf8).has_value(); }

}  // namespace valmerin
