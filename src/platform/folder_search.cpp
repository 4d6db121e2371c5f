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

std::vector<std::string> SearchFolder(std::string_view searchText) {
  const size_t cut = searchText.find_last_of("\\/");
  std::string_view folderText;
  std::string_view pattern = searchText;
  if (cut != std::string_view::npos) {
    folderText = searchText.substr(0, cut + 1);
    pattern = searchText.substr(cut + 1);
  } else if (searchText.size() >= 2 && searchText[1] == ':' &&
             std::isalpha(static_cast<unsigned char>(searchText[0]))) {
    folderText = searchText.substr(0, 2);
    pattern = searchText.substr(2);
  }
  if (pattern.empty()) return {};
  const std::filesystem::path folder =
      folderText.empty() ? std::filesystem::path(".") : ToHostPath(folderText);

  const std::string foldedPattern = FoldedName(pattern);
  std::vector<std::pair<std::string, std::string>> found;
  ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
    if (!entry.regularFile || entry.hidden) return;
    std::string key = FoldedName(entry.name);
    if (MatchFolded(key, foldedPattern)) found.emplace_back(std::move(key), entry.name);
  });
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return KeyLess(a.first, a.second, b.first, b.second);
  });
  std::vector<std::string> names;
  names.reserve(found.size());
  for (auto& [key, name] : found) names.push_back(std::move(name));
  return names;
}

}  // namespace valmerin
