#include "platform/file_identity.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace valmerin {
namespace {

struct Identity {
  std::string number;  // device:number
  std::string changed;
};

#ifdef _WIN32

std::optional<Identity> IdentityOf(const std::filesystem::path& path) {
  HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  FILE_BASIC_INFO basic{};
  const bool known = GetFileInformationByHandle(file, &info) &&
                     GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic);
  CloseHandle(file);
  if (!known || (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
    return std::nullopt;
  const unsigned long long index =
      (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return Identity{std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(index),
                  std::to_string(basic.ChangeTime.QuadPart)};
}

#else

std::optional<Identity> IdentityOf(const std::filesystem::path& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return Identity{std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino),
                  std::to_string(info.st_ctim.tv_sec) + "." + std::to_string(info.st_ctim.tv_nsec)};
}

#endif

}  // namespace

std::string FileIdentity(const std::filesystem::path& path) {
  const std::optional<Identity> identity = IdentityOf(path);
  return identity ? identity->number + ":" + identity->changed : std::string();
}

std::string FileNumber(const std::filesystem::path& path) {
  const std::optional<Identity> identity = IdentityOf(path);
  return identity ? identity->number : std::string();
}

bool StillTheFile(const std::string& recorded, const std::filesystem::path& path) {
  if (recorded.empty()) return false;
  const std::optional<Identity> identity = IdentityOf(path);
  if (!identity) return false;
  return recorded == identity->number + ":" + identity->changed || recorded == identity->number;
}

bool FlushFile(const std::filesystem::path& path) {
#ifdef _WIN32
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool flushed = FlushFileBuffers(file);
  CloseHandle(file);
  return flushed;
#else
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  const bool flushed = fsync(fd) == 0;
  close(fd);
  return flushed;
#endif
}

}  // namespace valmerin
