#pragma once
// UTF-8 decoding and the letter-case folding shared by the file-name lookups.
#include <optional>
#include <string>
#include <string_view>

namespace valmerin {

// The code point starting at `pos`, advancing `pos` past it; nullopt (and `pos`
// unchanged) for a malformed, overlong or surrogate sequence.
std::optional<char32_t> NextCodePoint(std::string_view text, size_t& pos);

bool IsValidUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t cp);

// Upper-case folding of every Windows-1252 letter (ASCII, Latin-1, Š Œ Ž Ÿ), as
// the Windows file systems compare names. The key is UTF-8 again, so plain byte comparison orders
// it by code point. Bytes that are not valid UTF-8 stand for themselves (offset into the surrogate
// range, which valid text never uses), so any name has a key.
std::string FoldedName(std::string_view name);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace valmerin

#include <filesystem>

namespace valmerin {

// Paths hold UTF-8 names inside the program; on Windows they are UTF-16.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

#ifdef _WIN32
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view wide);
#endif

}  // namespace valmerin
