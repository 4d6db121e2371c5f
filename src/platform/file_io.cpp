#include "platform/file_io.h"

#include <fstream>
#include <iterator>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// Fixed, so that a temporary left by a crash is reused rather than piling up.
fs::path TemporaryFor(const fs::path& path) {
  fs::path temporary = path;
  temporary += ".valmerin-tmp";
  return temporary;
}

#ifdef _WIN32

bool WriteAndFlush(const fs::path& temporary, std::string_view bytes) {
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written > 0;
    done += written;
  }
  ok = ok && FlushFileBuffers(file);
  return CloseHandle(file) && ok;
}

// A virus scanner or an indexer may hold the target for a moment.
bool MoveOver(const fs::path& from, const fs::path& to) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
        error != ERROR_LOCK_VIOLATION) {
      return false;
    }
    std::error_code ec;
    if (fs::is_directory(to, ec)) return false;
    Sleep(50);
  }
  return false;
}

void RemoveTemporary(const fs::path& temporary) { DeleteFileW(temporary.c_str()); }

#else

bool WriteAndFlush(const fs::path& temporary, std::string_view bytes) {
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    ok = written > 0;
    if (ok) done += static_cast<size_t>(written);
  }
  ok = ok && fsync(fd) == 0;
  return close(fd) == 0 && ok;
}

bool MoveOver(const fs::path& from, const fs::path& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return false;
  // The rename itself must reach the disk, or a crash could bring the old file back.
  fs::path folder = to.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
}

void RemoveTemporary(const fs::path& temporary) {
  std::error_code ec;
  if (fs::is_regular_file(fs::symlink_status(temporary, ec))) fs::remove(temporary, ec);
}

#endif

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  if (!IsRegularFile(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // One read of the size the file has; the loop also takes what a file that grew
  // meanwhile holds beyond it.
  std::error_code ec;
  const auto expected = fs::file_size(path, ec);
  std::string bytes;
  bytes.resize(ec ? 0 : static_cast<size_t>(expected));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  char chunk[65536];
  in.clear();
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
  }
  return bytes;
}

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  const fs::path temporary = TemporaryFor(path);
  if (fs::is_directory(temporary, ec)) return false;
  if (!WriteAndFlush(temporary, bytes)) {
    RemoveTemporary(temporary);
    return false;
  }
  if (!MoveOver(temporary, path)) {
    RemoveTemporary(temporary);
    return false;
  }
  return true;
}

bool AppendToFile(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!IsRegularFile(from) || fs::is_directory(to, ec)) return false;
  if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return true;
#ifdef _WIN32
  // The MinGW library refuses to overwrite here: the system call does it right.
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
#else
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
#endif
}

bool DeleteRegularFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec)) && !IsRegularFile(path)) return false;
  return fs::remove(path, ec) && !ec;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace valmerin
