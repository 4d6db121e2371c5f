#include "platform/folder_stamp.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace valmerin {
namespace fs = std::filesystem;

FolderStamp FolderStampOf(const fs::path& given) {
  FolderStamp stamp;
  // Folder texts end with a separator, which the Windows C library's stat refuses.
  const fs::path folder = given.has_filename() ? given : given.parent_path();
#ifdef _WIN32
  std::error_code ec;
  stamp.link = fs::is_symlink(fs::symlink_status(folder, ec));
  if (!fs::is_directory(folder, ec)) return stamp;
  stamp.exists = true;
  // The C library's folder times are whole seconds: a file added within the same
  // second would go unseen. The system's own time counts 100 ns steps.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(folder.c_str(), GetFileExInfoStandard, &data)) {
    stamp.changed = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
  }
#else
  struct stat info {};
  if (lstat(folder.c_str(), &info) == 0) stamp.link = S_ISLNK(info.st_mode);
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.inode = static_cast<std::uint64_t>(info.st_ino);
#ifdef __APPLE__
  const struct timespec& changed = info.st_mtimespec;
#else
  const struct timespec& changed = info.st_mtim;
#endif
  stamp.changed = static_cast<std::int64_t>(changed.tv_sec) * 1000000000 + changed.tv_nsec;
#endif
  return stamp;
}

}  // namespace valmerin
