#include "platform/host_path.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/utf8.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace valmerin {
namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// The stored name of the entry of `folder` spelt like `component` without regard
// to case (names that are not UTF-8 compare by their Windows-1252 reading); when
// several are, the first in byte order so the choice never changes between runs.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view component) {
  std::optional<std::string> found;
  const std::string key = FoldedName(component);
  ForEachFolderEntry(fs::path(folder.empty() ? "." : folder), [&](const FolderEntry& entry) {
    if ((!found || entry.stored < *found) && FoldedName(entry.name) == key) {
      found = std::string(entry.stored);
    }
  });
  return found;
}

std::vector<std::string_view> SplitComponents(std::string_view rest) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('/', start);
    if (end == std::string_view::npos) end = rest.size();
    if (end > start) parts.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// "." and ".." on a drive are resolved by the text alone, never above the
// drive's root (the first part, "c:"), as Windows does.
std::vector<std::string_view> WithinDrive(const std::vector<std::string_view>& parts) {
  std::vector<std::string_view> kept;
  for (std::string_view part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (kept.size() > 1) kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  return kept;
}

// Appends each part to `base`, taking the spelling that exists on disk. Once one
// is missing (or the path is longer than any the system opens), the rest is used
// as written. The text grows in place, so a long folder text costs linear time.
fs::path ResolveComponents(std::string base, const std::vector<std::string_view>& parts,
                           bool trailingSlash) {
  bool reachable = true;
  for (std::string_view component : parts) {
    const size_t before = base.size();
    if (!base.empty() && base.back() != '/') base += '/';
    const size_t folderEnd = base.size();
    base += component;
    if (!reachable || component == "." || component == ".." || Exists(base)) continue;
    if (base.size() >= PATH_MAX) {
      reachable = false;
      continue;
    }
    const std::string folder = base.substr(0, before);
    if (std::optional<std::string> stored = FindIgnoringCase(folder, component)) {
      base.resize(folderEnd);
      base += *stored;
    } else {
      reachable = false;
    }
  }
  if (trailingSlash && !base.empty() && base.back() != '/') base += '/';
  return fs::path(std::move(base));
}

}  // namespace
#endif

fs::path ToHostPathWithDrives(std::string_view text, const fs::path& drives) {
#ifdef _WIN32
  (void)drives;
  return PathFromUtf8(text);
#else
  std::string unix(text);
  for (char& c : unix) {
    if (c == '\\') c = '/';
  }
  const std::string_view view(unix);
  const bool trailing = !view.empty() && view.back() == '/';
  if (BeginsWithDrive(view)) {
    // Drive links are named in lower case: "c:".
    std::string rest(1, static_cast<char>(std::tolower(static_cast<unsigned char>(view[0]))));
    rest += ":/";
    rest += view.substr(2);
    if (view.size() == 2) rest.pop_back();
    return ResolveComponents(drives.string(),
                             WithinDrive(SplitComponents(rest)), trailing);
  }
  if (!view.empty() && view.front() == '/') {
    return ResolveComponents("/", SplitComponents(view.substr(1)), trailing);
  }
  return ResolveComponents(std::string(), SplitComponents(view), trailing);
#endif
}

std::optional<fs::path> FindInFolder(const fs::path& folder, std::string_view name) {
#ifndef _WIN32
  if (!name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos) {
    std::error_code ec;
    if (fs::is_regular_file(folder / fs::path(std::string(name)), ec)) {
      return folder / fs::path(std::string(name));
    }
  }
#endif
  std::optional<std::string> exact;
  std::optional<std::string> other;
  const std::string key = FoldedName(name);
  ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
    if (!entry.regularFile || entry.hidden || exact) return;
    if (entry.name == name) {
      exact = std::string(entry.stored);
    } else if ((!other || entry.stored < *other) && FoldedName(entry.name) == key) {
      other = std::string(entry.stored);
    }
  });
  if (exact) return folder / PathFromUtf8(*exact);
  if (other) return folder / PathFromUtf8(*other);
  return std::nullopt;
}

std::optional<fs::path> FindInCurrentFolder(std::string_view name) {
  std::optional<fs::path> found = FindInFolder(fs::path("."), name);
  if (found) return found->filename();
  return std::nullopt;
}

fs::path CurrentFolderFileForWriting(std::string_view name) {
  if (std::optional<fs::path> existing = FindInCurrentFolder(name)) return *existing;
  return PathFromUtf8(name);
}

}  // namespace valmerin
