#include "platform/utf8.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin {

std::optional<char32_t> NextCodePoint(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + length > text.size()) return std::nullopt;
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += length;
  return cp;
}

bool IsValidUtf8(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
    } else if (!NextCodePoint(text, pos)) {
      return false;
    }
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

namespace {

constexpr char32_t kRawByteBase = 0xDC00;  // lone surrogates never come from valid text

char32_t FoldUpper(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - 0x20;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  if (cp == 0xFF) return 0x178;
  // The other lower-case letters of Windows-1252: š, œ, ž.
  if (cp == 0x161 || cp == 0x153 || cp == 0x17E) return cp - 1;
  return cp;
}

}  // namespace

std::string FoldedName(std::string_view name) {
  std::string key;
  key.reserve(name.size() + 4);
  size_t pos = 0;
  while (pos < name.size()) {
    const char c = name[pos];
    if (static_cast<unsigned char>(c) < 0x80) {  // the common case, kept cheap
      key.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c);
      ++pos;
      continue;
    }
    std::optional<char32_t> cp = NextCodePoint(name, pos);
    if (cp) {
      AppendUtf8(key, FoldUpper(*cp));
    } else {
      AppendUtf8(key, kRawByteBase + static_cast<unsigned char>(name[pos]));
      ++pos;
    }
  }
  return key;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  // ASCII, the usual kind, is compared in place; only from the first other
  // character on are both sides folded.
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; };
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (static_cast<unsigned char>(a[i]) >= 0x80 || static_cast<unsigned char>(b[i]) >= 0x80) {
      return FoldedName(a.substr(i)) == FoldedName(b.substr(i));
    }
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return a.size() == b.size();
}

}  // namespace valmerin

namespace valmerin {

#ifdef _WIN32

// The Win32 converters never throw; malformed input becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(WideFromUtf8(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) { return Utf8FromWide(path.native()); }

#else

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::string(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) { return path.native(); }

#endif

}  // namespace valmerin
