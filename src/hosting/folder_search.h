#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valmerin {

// The ordinary files (no folders, no hidden or system files; on Linux a name
// beginning with "." is hidden) of one folder, listed once when made, and the
// ones matching each of several patterns, answered by Visit as often as asked
// while it lives. Each search text is `folderText` + pattern, split at its last
// "\" or "/" (so a folder text without its final separator lends its last part to
// every pattern). "*" matches any run of characters, letters match without regard
// to case. `visit` gets each pattern's index and its matches, in pattern order,
// names as stored in case-insensitive name order, the way Windows file systems
// yield them; the views last only for that call. An empty pattern, or a folder
// that does not exist or cannot be read, yields nothing.
using PatternVisit = std::function<void(std::size_t, std::span<const std::string_view>)>;
class FolderListing {
 public:
  explicit FolderListing(std::string_view folderText);
  ~FolderListing();
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;
  void Visit(const std::vector<std::string_view>& patterns, const PatternVisit& visit) const;

 private:
  class Sorted;
  std::unique_ptr<const Sorted> sorted_;
  std::string prefix_;  // the folder text's last part when it lacks its final separator
};

// The host folder a search of `folderText` + pattern lists: the text up to its last
// separator ("C:\ZSnes" lists C:\, "C:" the drive's current folder, "" this one).
std::filesystem::path SearchFolderOf(std::string_view folderText);

// The same match and order for a single name, for the games inside archives.
bool MatchesPattern(std::string_view name, std::string_view pattern);
bool NameLessCaseInsensitive(std::string_view a, std::string_view b);

}  // namespace valmerin
