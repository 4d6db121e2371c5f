#include "hosting/path_forms.h"

#include <algorithm>
#include <cstdlib>

namespace valmerin {
namespace fs = std::filesystem;

fs::path WinePrefixFolder() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
    return fs::path(prefix);
  }
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "") / ".wine";
}

fs::path ToHostPath(std::string_view text) {
#ifdef _WIN32
  return ToHostPathWithDrives(text, {});
#else
  return ToHostPathWithDrives(text, WinePrefixFolder() / "dosdevices");
#endif
}

std::string Backslashed(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

}  // namespace valmerin
