#include "platform/folder_search.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/folder_listing.h"
#include "platform/host_path.h"
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

bool KeyLess(const std::string& keyA, std::string_view a, const std::string& keyB,
             std::string_view b) {
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
  if (cut != std::string_view::npos) return {searchText.substr(0, cut + 1), searchText.substr(cut + 1)};
  if (searchText.size() >= 2 && searchText[1] == ':' &&
      std::isalpha(static_cast<unsigned char>(searchText[0]))) {
    return {searchText.substr(0, 2), searchText.substr(2)};
  }
  return {{}, searchText};
}

// The ordinary, visible files of a folder with their folded names, in
// case-insensitive order.
std::vector<std::pair<std::string, std::string>> ListSorted(std::string_view folderText) {
  const std::filesystem::path folder =
      folderText.empty() ? std::filesystem::path(".") : ToHostPath(folderText);
  std::vector<std::pair<std::string, std::string>> found;
  ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
    if (!entry.regularFile || entry.hidden) return;
    found.emplace_back(FoldedName(entry.name), entry.name);
  });
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return KeyLess(a.first, a.second, b.first, b.second);
  });
  return found;
}

std::vector<std::string> Matching(const std::vector<std::pair<std::string, std::string>>& listing,
                                  std::string_view pattern) {
  std::vector<std::string> names;
  if (pattern.empty()) return names;
  const std::string foldedPattern = FoldedName(pattern);
  for (const auto& [key, name] : listing) {
    if (MatchFolded(key, foldedPattern)) names.push_back(name);
  }
  return names;
}

}  // namespace

std::vector<std::string> SearchFolder(std::string_view searchText) {
  const SplitSearch split = Split(searchText);
  if (split.pattern.empty()) return {};
  return Matching(ListSorted(split.folderText), split.pattern);
}

std::vector<std::vector<std::string>> SearchFolderPatterns(
    std::string_view folderText, const std::vector<std::string_view>& patterns) {
  std::vector<std::vector<std::string>> results(patterns.size());
  if (patterns.empty()) return results;
  // Patterns hold no separator, so every search text splits at the same place; the
  // folder's own trailing part (when it lacks its final "\") joins each pattern.
  std::string probe(folderText);
  probe += '*';
  const SplitSearch split = Split(probe);
  const std::string_view prefix = split.pattern.substr(0, split.pattern.size() - 1);
  const auto listing = ListSorted(split.folderText);
  for (size_t i = 0; i < patterns.size(); ++i) {
    if (patterns[i].empty()) continue;
    results[i] = Matching(listing, std::string(prefix) + std::string(patterns[i]));
  }
  return results;
}

}  // namespace valmerin
