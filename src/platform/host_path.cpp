#include "platform/host_path.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

#ifndef _WIN32

fs::path WinePrefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
    return fs::path(prefix);
  }
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "") / ".wine";
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// The entry of `folder` spelt like `component` without regard to case; when
// several are, the first in byte order so the choice never changes between runs.
std::optional<std::string> FindIgnoringCase(const fs::path& folder, std::string_view component) {
  std::optional<std::string> found;
  const std::string key = FoldedName(component);
  ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
    if ((!found || entry.name < *found) && FoldedName(entry.name) == key) {
      found = std::string(entry.name);
    }
  });
  return found;
}

// Appends each "/"-separated component of `rest` to `base`, taking the spelling
// that exists on disk. Once one is missing, the rest is used as written.
fs::path ResolveComponents(fs::path base, std::string_view rest) {
  bool reachable = true;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('/', start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view component = rest.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    fs::path candidate = base / component;
    if (!reachable || component == "." || component == ".." || Exists(candidate)) {
      base = std::move(candidate);
      continue;
    }
    if (std::optional<std::string> stored = FindIgnoringCase(base, component)) {
      base /= *stored;
    } else {
      base = std::move(candidate);
      reachable = false;
    }
  }
  if (!rest.empty() && rest.back() == '/') base /= "";
  return base;
}

#endif

}  // namespace

fs::path ToHostPath(std::string_view text) {
#ifdef _WIN32
  return PathFromUtf8(text);
#else
  std::string unix(text);
  for (char& c : unix) {
    if (c == '\\') c = '/';
  }
  const std::string_view view(unix);
  if (BeginsWithDrive(view)) {
    // Wine names its drive links in lower case: "dosdevices/c:".
    std::string rest(1, static_cast<char>(std::tolower(static_cast<unsigned char>(view[0]))));
    rest += ":/";
    rest += view.substr(2);
    if (view.size() == 2) rest.pop_back();
    return ResolveComponents(WinePrefix() / "dosdevices", rest);
  }
  if (!view.empty() && view.front() == '/') return ResolveComponents("/", view.substr(1));
  return ResolveComponents(fs::path(), view);
#endif
}

std::optional<fs::path> FindInCurrentFolder(std::string_view name) {
#ifndef _WIN32
  if (!name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos) {
    std::error_code ec;
    if (fs::is_regular_file(fs::path(std::string(name)), ec)) return fs::path(std::string(name));
  }
#endif
  std::optional<std::string> exact;
  std::optional<std::string> other;
  const std::string key = FoldedName(name);
  ForEachFolderEntry(fs::path("."), [&](const FolderEntry& entry) {
    if (!entry.regularFile || entry.hidden || exact) return;
    if (entry.name == name) {
      exact = std::string(entry.name);
    } else if ((!other || entry.name < *other) && FoldedName(entry.name) == key) {
      other = std::string(entry.name);
    }
  });
  if (exact) return PathFromUtf8(*exact);
  if (other) return PathFromUtf8(*other);
  return std::nullopt;
}

fs::path CurrentFolderFileForWriting(std::string_view name) {
  if (std::optional<fs::path> existing = FindInCurrentFolder(name)) return *existing;
  return PathFromUtf8(name);
}

}  // namespace valmerin
