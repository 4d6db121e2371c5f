#include "platform/runtime_files.h"

#include <string>
#include <system_error>

#include "platform/private_folder.h"
#include "platform/write_all.h"

#ifdef _WIN32
#include <windows.h>

#include <random>
#else
#include <unistd.h>

#include <cstdlib>
#endif

namespace valmerin {
namespace fs = std::filesystem;

#ifdef _WIN32

namespace {
fs::path RuntimeFolder() {
  std::error_code ec;
  return fs::temp_directory_path(ec);
}
}  // namespace

std::optional<fs::path> WritePrivateFile(std::string_view stem, std::string_view extension,
                                         std::string_view text) {
  const fs::path folder = RuntimeFolder();
  if (folder.empty()) return std::nullopt;
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path file = folder / (std::string(stem) + "-" + std::to_string(random()) +
                                    std::to_string(random()) + std::string(extension));
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return std::nullopt;
    }
    const bool written = WriteAll(handle, text) == FileError::None;
    if (CloseHandle(handle) && written) return file;
    DeleteFileW(file.c_str());
    return std::nullopt;
  }
  return std::nullopt;
}

#else

// The files are made new and private whatever the folder, so /tmp will do when
// the user has no private folder of their own.
namespace {
fs::path RuntimeFolder() { return PrivateRuntimeFolder().value_or("/tmp"); }
}  // namespace

std::optional<fs::path> WritePrivateFile(std::string_view stem, std::string_view extension,
                                         std::string_view text) {
  std::string name =
      RuntimeFolder().string() + "/" + std::string(stem) + "-XXXXXX" + std::string(extension);
  // mkstemps makes the file new and private (mode 0600), never following a link.
  const int fd = mkstemps(name.data(), static_cast<int>(extension.size()));
  if (fd < 0) return std::nullopt;
  const bool written = WriteAll(fd, text) == FileError::None;
  if (close(fd) == 0 && written) return fs::path(name);
  unlink(name.c_str());
  return std::nullopt;
}

#endif

}  // namespace valmerin
