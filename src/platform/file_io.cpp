#include "platform/file_io.h"

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include "platform/write_all.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMark = ".valmerin-tmp-";

// A link is followed only to a file inside the folder that holds the link (or
// below it): a user's own links keep working, while a link that came with a
// handed folder can never make us write the user's other files.
bool LeadsInside(const fs::path& link, const fs::path& target) {
  std::error_code ec;
  fs::path folder = link.parent_path();
  if (folder.empty()) folder = ".";
  const fs::path home = fs::canonical(folder, ec);
  if (ec) return false;
  fs::path where = target.parent_path();
  if (where.empty()) where = ".";
  const fs::path landing = fs::weakly_canonical(fs::absolute(where, ec), ec);
  if (ec) return false;
  const auto [end, unused] = std::mismatch(home.begin(), home.end(), landing.begin(), landing.end());
  return end == home.end();
}

struct WriteTarget {
  fs::path path;
  FileError refused = FileError::None;
};

// Where a write through `path` really lands: links followed to the file they name,
// even when that file does not exist yet, as far as the rules above allow.
WriteTarget WriteTargetOf(const fs::path& path, LinkRule rule) {
  fs::path current = path;
  std::error_code ec;
  for (int hops = 0; hops < 40; ++hops) {
    if (!fs::is_symlink(fs::symlink_status(current, ec))) {
      if (current != path && !LeadsInside(path, current)) return {path, FileError::LinkOutside};
      return {current, FileError::None};
    }
    if (rule == LinkRule::Never) return {path, FileError::NotRegular};
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) return {path, FileError::NotRegular};
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return {path, FileError::NotRegular};  // a loop of links
}

#ifdef _WIN32

FileError FromLastError(DWORD error) { return FileErrorFromWindows(error); }

FileError LastError() { return FromLastError(GetLastError()); }

bool ReadOnlyAttribute(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

FileError WriteAndFlush(const fs::path& temporary, std::string_view bytes) {
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  FileError error = WriteAll(file, bytes);
  if (error == FileError::None && !FlushFileBuffers(file)) error = LastError();
  if (!CloseHandle(file) && error == FileError::None) error = LastError();
  return error;
}

// A virus scanner or an indexer may hold the target for a moment.
FileError MoveOver(const fs::path& from, const fs::path& to) {
  DWORD error = ERROR_ACCESS_DENIED;
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return FileError::None;
    }
    error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
        error != ERROR_LOCK_VIOLATION) {
      return FromLastError(error);
    }
    std::error_code ec;
    if (fs::is_directory(to, ec)) return FileError::NotRegular;
    Sleep(50);
  }
  return FromLastError(error);
}

std::uint64_t ProcessNumber() { return GetCurrentProcessId(); }

#else

bool ReadOnlyAttribute(const fs::path& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  // A file we cannot even read falls under the rule for unreadable files, which
  // the callers apply (never behind the user's back, on request).
  if ((info.st_mode & 0444) == 0 || access(path.c_str(), R_OK) != 0) return false;
  // No write bit at all: the user's own choice, which even root respects here.
  if ((info.st_mode & 0222) == 0) return true;
  return access(path.c_str(), W_OK) != 0 && errno == EACCES;
}

FileError WriteAndFlush(const fs::path& temporary, std::string_view bytes, const fs::path& old) {
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return FileErrorFromErrno(errno);
  // The replaced file keeps the permissions the user gave it, unless they kept
  // even us from reading it (replaced on request, it becomes readable again).
  struct stat info {};
  if (stat(old.c_str(), &info) == 0 && (info.st_mode & S_IRUSR) != 0) {
    fchmod(fd, info.st_mode & 07777);
  }
  FileError error = WriteAll(fd, bytes);
  if (error == FileError::None && fsync(fd) != 0) error = FileErrorFromErrno(errno);
  if (close(fd) != 0 && error == FileError::None) error = FileErrorFromErrno(errno);
  return error;
}

void SyncFolderOf(const fs::path& file) {
  fs::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

FileError MoveOver(const fs::path& from, const fs::path& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return FileErrorFromErrno(errno);
  // The rename itself must reach the disk, or a crash could bring the old file back.
  SyncFolderOf(to);
  return FileError::None;
}

std::uint64_t ProcessNumber() { return static_cast<std::uint64_t>(getpid()); }

#endif

void RemoveTemporary(const fs::path& temporary) {
  std::error_code ec;
  if (fs::is_regular_file(fs::symlink_status(temporary, ec))) fs::remove(temporary, ec);
}

// Anything at the target that is not an ordinary file is refused, and so is a
// file the user made read-only.
FileError CheckWritableTarget(const fs::path& target) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (!fs::exists(status)) return FileError::None;
  if (!fs::is_regular_file(status)) return FileError::NotRegular;
  return ReadOnlyAttribute(target) ? FileError::ReadOnly : FileError::None;
}

// Where a write through `path` lands, or why it may not: both whole-file writes
// ask this first.
WriteTarget WritableTargetOf(const fs::path& path, LinkRule rule) {
  WriteTarget resolved = WriteTargetOf(path, rule);
  if (resolved.refused == FileError::None) resolved.refused = CheckWritableTarget(resolved.path);
  return resolved;
}

}  // namespace

FileError MoveIntoPlace(const fs::path& temporary, const fs::path& target) {
  return MoveOver(temporary, target);
}

void RemoveTemporaryFile(const fs::path& temporary) { RemoveTemporary(temporary); }

fs::path TemporaryNameFor(const fs::path& path) {
  std::random_device random;
  const std::uint64_t salt = (static_cast<std::uint64_t>(random()) << 32) ^ random();
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "%llu-%016llx",
                static_cast<unsigned long long>(ProcessNumber()),
                static_cast<unsigned long long>(salt));
  fs::path temporary = path;
  temporary += std::string(kTemporaryMark) + suffix;
  return temporary;
}

bool IsTemporaryName(std::string_view fileName) {
  return fileName.find(kTemporaryMark) != std::string_view::npos;
}

std::string_view NameBeforeTemporary(std::string_view fileName) {
  return fileName.substr(0, fileName.find(kTemporaryMark));
}

std::optional<std::uint64_t> TemporaryOwner(std::string_view fileName) {
  const std::size_t at = fileName.find(kTemporaryMark);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = fileName.substr(at + kTemporaryMark.size());
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos) return std::nullopt;
  std::uint64_t number = 0;
  for (const char c : rest.substr(0, dash)) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return number;
}

ReadResult ReadFileBytes(const fs::path& path) {
  ReadResult result;
#ifdef _WIN32
  if (!IsRegularFile(path)) {
    result.error = FileError::Missing;
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.error = FileError::Unreadable;
    return result;
  }
  // One allocation of the size the file has; what a file that grew meanwhile
  // holds beyond it is added after.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  std::string bytes(ec ? 0 : static_cast<size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  char chunk[65536];
  while (in && (in.read(chunk, sizeof chunk) || in.gcount() > 0)) {
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) {
    result.error = FileError::Unreadable;
    return result;
  }
  result.bytes = std::move(bytes);
#else
  // Never blocks: a FIFO opened this way returns at once and is then turned away.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int number = errno;
    result.error = number == EACCES || number == EPERM ? FileError::Unreadable : FileError::Missing;
    return result;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    result.error = FileError::Missing;
    return result;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // One allocation of the size the file has; whatever a file that grew meanwhile
  // holds beyond it is added after, in pieces.
  std::string bytes;
  bytes.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  char extra[65536];
  for (;;) {
    const bool inPlace = done < bytes.size();
    char* into = inPlace ? bytes.data() + done : extra;
    const size_t room = inPlace ? bytes.size() - done : sizeof extra;
    const ssize_t got = read(fd, into, room);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      result.error = FileError::Unreadable;
      return result;
    }
    if (got == 0) break;
    if (!inPlace) bytes.append(extra, static_cast<size_t>(got));
    done += static_cast<size_t>(got);
  }
  close(fd);
  bytes.resize(done);
  result.bytes = std::move(bytes);
#endif
  return result;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) { return ReadFileBytes(path).bytes; }

bool ExistsButUnreadable(const fs::path& path) {
  if (!IsRegularFile(path)) return false;
#ifdef _WIN32
  std::ifstream in(path, std::ios::binary);
  return !in;
#else
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd >= 0) {
    close(fd);
    return false;
  }
  return errno == EACCES || errno == EPERM;
#endif
}

FileResult ReplaceFileAtomically(const fs::path& path, std::string_view bytes, LinkRule rule) {
  const WriteTarget resolved = WritableTargetOf(path, rule);
  if (resolved.refused != FileError::None) return {resolved.refused};
  const fs::path& target = resolved.path;
  const fs::path temporary = TemporaryNameFor(target);
#ifdef _WIN32
  FileError error = WriteAndFlush(temporary, bytes);
#else
  FileError error = WriteAndFlush(temporary, bytes, target);
#endif
  if (error == FileError::None) error = MoveOver(temporary, target);
  if (error != FileError::None) RemoveTemporary(temporary);
  return {error};
}

FileResult AppendToFile(const fs::path& path, std::string_view bytes, LinkRule rule) {
  const WriteTarget resolved = WritableTargetOf(path, rule);
  if (resolved.refused != FileError::None) return {resolved.refused};
  const fs::path& target = resolved.path;
#ifdef _WIN32
  std::error_code ec;
  const bool existed = fs::exists(target, ec);
  const std::uintmax_t before = existed ? fs::file_size(target, ec) : 0;
  FileError error = FileError::None;
  {
    std::ofstream out(target, std::ios::binary | std::ios::app);
    if (!out) return {LastError() == FileError::None ? FileError::Other : LastError()};
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    if (out.fail()) error = FileError::DiskFull;
  }
  if (error != FileError::None) fs::resize_file(target, before, ec);
  return {error};
#else
  const int fd = open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return {FileErrorFromErrno(errno)};
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return {FileError::NotRegular};
  }
  FileError error = WriteAll(fd, bytes);
  if (error == FileError::None && fsync(fd) != 0) error = FileErrorFromErrno(errno);
  if (error != FileError::None) {
    // Half a record would shift every record after it: back to the old end.
    if (ftruncate(fd, info.st_size) == 0) fsync(fd);
  }
  if (close(fd) != 0 && error == FileError::None) error = FileErrorFromErrno(errno);
  return {error};
#endif
}

bool DeleteRegularFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec))) return false;
  return fs::remove(path, ec) && !ec;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool AnythingAt(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace valmerin
