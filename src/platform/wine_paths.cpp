#include "platform/wine_paths.h"

#include <filesystem>
#include <system_error>

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

std::string WineArgument(const std::string& text) {
  if (!IsHostPathArgument(text)) return text;
  // Wine maps Z: to the host's root folder.
  std::string wine = "Z:" + text;
  for (char& c : wine) {
    if (c == '/') c = '\\';
  }
  return wine;
}

}  // namespace valmerin
