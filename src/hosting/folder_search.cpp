#include "hosting/folder_search.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

#include "hosting/path_forms.h"
#include "platform/folder_listing.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

// Classic "*" matcher with one back-tracking point: linear in practice.
bool MatchFolded(std::string_view name, std::string_view pattern) {
  size_t n = 0;
  size_t p = 0;
  size_t starAt = std::string_view::npos;
  size_t resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && pattern[p] == name[n]) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool KeyLess(std::string_view keyA, std::string_view a, std::string_view keyB, std::string_view b) {
  if (keyA != keyB) return keyA < keyB;
  return a < b;
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  return MatchFolded(FoldedName(name), FoldedName(pattern));
}

bool NameLessCaseInsensitive(std::string_view a, std::string_view b) {
  return KeyLess(FoldedName(a), a, FoldedName(b), b);
}

namespace {

struct SplitSearch {
  std::string_view folderText;
  std::string_view pattern;
};

// The folder is everything up to the last separator ("C:\ZSnes" + "*.smc" searches
// C:\ for "ZSnes*.smc"); a bare drive "C:" counts as a folder too.
SplitSearch Split(std::string_view searchText) {
  const size_t cut = searchText.find_last_of("\\/");
  if (cut != std::string_view::npos)
    return {searchText.substr(0, cut + 1), searchText.substr(cut + 1)};
  if (BeginsWithDrive(searchText)) {
    return {searchText.substr(0, 2), searchText.substr(2)};
  }
  return {{}, searchText};
}

}  // namespace

// The ordinary, visible files of a folder with their folded names, in
// case-insensitive order. Every name and key sits in one buffer, so a large folder
// costs a few allocations rather than two per file.
class FolderListing::Sorted {
 public:
  explicit Sorted(const std::filesystem::path& folder) {
    ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
      if (!entry.regularFile || entry.hidden) return;
      Entry item;
      item.name = Append(entry.name);
      item.key = AppendFolded(entry.name);
      item.head = Head(Text(item.key));
      entries_.push_back(item);
    });
    // Most pairs differ in their first eight bytes, decided without the buffer.
    std::sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
      if (a.head != b.head) return a.head < b.head;
      return KeyLess(Text(a.key), Text(a.name), Text(b.key), Text(b.name));
    });
  }

  // The names matching one folded pattern, in the listing's order; the views live
  // as long as the listing.
  std::vector<std::string_view> Matches(std::string_view folded) const {
    std::vector<std::string_view> names;
    if (folded.empty()) return names;
    for (const Entry& entry : entries_) {
      if (MatchKey(Text(entry.key), folded)) names.push_back(Text(entry.name));
    }
    return names;
  }

 private:
  struct Span {
    std::uint32_t at = 0;
    std::uint32_t size = 0;
  };
  struct Entry {
    Span name;
    Span key;
    std::uint64_t head = 0;  // the key's first bytes as a number that sorts like them
  };

  // A name never holds a zero byte, so the zero padding of a short key sorts it
  // before any longer key it begins, as the byte comparison does.
  static std::uint64_t Head(std::string_view key) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    }
    return head;
  }

  std::string_view Text(Span span) const {
    return std::string_view(pool_).substr(span.at, span.size);
  }
  Span Append(std::string_view text) {
    const Span span{static_cast<std::uint32_t>(pool_.size()),
                    static_cast<std::uint32_t>(text.size())};
    pool_ += text;
    return span;
  }
  // Plain ASCII names, the usual kind, fold in place without a temporary.
  Span AppendFolded(std::string_view name) {
    for (char c : name) {
      if (static_cast<unsigned char>(c) >= 0x80) return Append(FoldedName(name));
    }
    const Span span = Append(name);
    for (std::size_t i = span.at; i < pool_.size(); ++i) {
      if (pool_[i] >= 'a' && pool_[i] <= 'z') pool_[i] = static_cast<char>(pool_[i] - 0x20);
    }
    return span;
  }
  // The emulators' patterns are "*.ext": a suffix test gives the matcher's answer.
  static bool MatchKey(std::string_view key, std::string_view pattern) {
    if (pattern.front() == '*' && pattern.find('*', 1) == std::string_view::npos) {
      return key.ends_with(pattern.substr(1));
    }
    return MatchFolded(key, pattern);
  }

  std::string pool_;
  std::vector<Entry> entries_;
};

namespace {

// Patterns hold no separator, so every search text splits at the same place; the
// folder's own trailing part (when it lacks its final "\") joins each pattern.
SplitSearch SplitFolderText(std::string_view folderText, std::string& probe) {
  probe.assign(folderText);
  probe += '*';
  const SplitSearch split = Split(probe);
  return {split.folderText, split.pattern.substr(0, split.pattern.size() - 1)};
}

std::filesystem::path HostFolder(std::string_view searched) {
  return searched.empty() ? std::filesystem::path(".") : ToHostPath(searched);
}

}  // namespace

std::filesystem::path SearchFolderOf(std::string_view folderText) {
  std::string probe;
  return HostFolder(SplitFolderText(folderText, probe).folderText);
}

FolderListing::FolderListing(std::string_view folderText) {
  std::string probe;
  const SplitSearch split = SplitFolderText(folderText, probe);
  prefix_ = split.pattern;
  sorted_ = std::make_unique<const Sorted>(HostFolder(split.folderText));
}

FolderListing::~FolderListing() = default;

void FolderListing::Visit(const std::vector<std::string_view>& patterns,
                          const PatternVisit& visit) const {
  for (size_t i = 0; i < patterns.size(); ++i) {
    if (patterns[i].empty()) {
      visit(i, {});
      continue;
    }
    visit(i, sorted_->Matches(FoldedName(prefix_ + std::string(patterns[i]))));
  }
}

}  // namespace valmerin
