#include "catalogue/game_filter.h"

#include <algorithm>
#include <array>

#include "platform/utf8.h"

namespace valmerin {
namespace {

// U+00C0 to U+00FF without their accents; × and ÷ stay as they are.
constexpr std::array<std::string_view, 64> kLatin1 = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

void AppendFolded(std::string& out, char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') {
    out += static_cast<char>(cp - 'A' + 'a');
  } else if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp >= 0xC0 && cp <= 0xFF && !kLatin1[cp - 0xC0].empty()) {
    out += kLatin1[cp - 0xC0];
  } else if (cp >= 0x300 && cp <= 0x36F) {
    // a combining accent: the letter before it already stands for both
  } else if (cp == 0x160 || cp == 0x161) {
    out += 's';
  } else if (cp == 0x17D || cp == 0x17E) {
    out += 'z';
  } else if (cp == 0x178) {
    out += 'y';
  } else if (cp == 0x152 || cp == 0x153) {
    out += "oe";
  } else if (cp == 0x192) {
    out += 'f';
  } else {
    AppendUtf8(out, cp);
  }
}

void FoldInto(std::string& out, std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {  // most names are plain ASCII: no decoding
      out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
      ++pos;
    } else if (auto cp = NextCodePoint(text, pos)) {
      AppendFolded(out, *cp);
    } else {
      out += text[pos++];  // a stray byte stands for itself
    }
  }
}

}  // namespace

std::string FoldForFilter(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  FoldInto(folded, text);
  return folded;
}

void GameFilter::Prepare(const GameList& list) {
  keys_.clear();
  starts_.clear();
  starts_.reserve(list.size() + 1);
  for (std::size_t i = 0; i < list.size(); ++i) {
    starts_.push_back(static_cast<std::uint32_t>(keys_.size()));
    FoldInto(keys_, list.Shown(i));
    keys_ += '\0';
  }
  starts_.push_back(static_cast<std::uint32_t>(keys_.size()));
  list_ = &list;
  generation_ = list.Generation();
}

std::vector<std::uint32_t> GameFilter::Match(std::string_view typed) const {
  const std::string needle = FoldForFilter(typed);
  const auto count = static_cast<std::uint32_t>(starts_.empty() ? 0 : starts_.size() - 1);
  std::vector<std::uint32_t> rows;
  if (needle.empty()) {
    rows.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) rows[i] = i;
    return rows;
  }
  // One search over all keys at once; a hit is mapped to its entry, and the search
  // goes on from the next entry. The 0 bytes keep a hit from spanning two entries.
  const std::string_view keys(keys_);
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = keys.find(needle, from);
    if (hit == std::string_view::npos) break;
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), hit);
    rows.push_back(static_cast<std::uint32_t>(next - starts_.begin() - 1));
    from = *next;
  }
  return rows;
}

std::vector<std::uint32_t> GameFilter::Narrow(std::string_view typed,
                                              const std::vector<std::uint32_t>& within) const {
  const std::string needle = FoldForFilter(typed);
  std::vector<std::uint32_t> rows;
  const std::string_view keys(keys_);
  for (std::uint32_t entry : within) {
    if (entry + 1 >= starts_.size()) continue;
    const std::string_view key = keys.substr(starts_[entry], starts_[entry + 1] - starts_[entry]);
    if (key.find(needle) != std::string_view::npos) rows.push_back(entry);
  }
  return rows;
}

}  // namespace valmerin
