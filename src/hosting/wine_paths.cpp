#include "hosting/wine_paths.h"

#include <filesystem>
#include <system_error>

#include "hosting/path_forms.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

bool IsHostPathArgument(std::string_view text) {
#ifdef _WIN32
  (void)text;
  return false;
#else
  if (text.empty() || text.front() != '/') return false;
  const fs::path path = PathFromUtf8(text);
  std::error_code ec;
  if (fs::exists(path, ec)) return true;
  const fs::path folder = path.parent_path();
  return folder != path.root_path() && fs::is_directory(folder, ec);
#endif
}

namespace {

// Wine maps Z: to the host's root folder.
std::string ZForm(std::string_view hostPath) { return Backslashed("Z:" + std::string(hostPath)); }

}  // namespace

std::string WineArgument(const std::string& text) {
  if (!IsHostPathArgument(text)) return text;
  return ZForm(text);
}

std::string WinePathArgument(const std::string& text) {
  if (IsDrivePath(text)) return Backslashed(text);
  std::error_code ec;
  return ZForm(Utf8FromPath(fs::absolute(ToHostPath(text), ec).lexically_normal()));
}

bool WineRuns32Bit(const fs::path& wineProgram) {
  std::error_code ec;
  const fs::path real = fs::canonical(wineProgram, ec);
  const fs::path prefix = (ec ? wineProgram : real).parent_path().parent_path();
  // Debian's wine32 (loader, libraries), WineHQ's builds, other distributions.
  constexpr const char* kMarkers[] = {"lib/wine/wine", "lib/i386-linux-gnu/wine",
                                      "lib/wine/i386-windows", "lib32/wine"};
  for (const char* marker : kMarkers) {
    if (fs::exists(prefix / marker, ec)) return true;
  }
  return false;
}

bool WinePrefixIsNew() {
  std::error_code ec;
  return !fs::exists(WinePrefixFolder() / "system.reg", ec);
}

}  // namespace valmerin
