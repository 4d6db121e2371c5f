// The game copy: whole or not at all, fast where the file system can share or
// copy blocks itself, with progress a window can show and cancel.
#include <algorithm>
#include <system_error>

#include "platform/file_io.h"
#include "platform/write_all.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#endif
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32

struct ProgressContext {
  const CopyProgress* progress;
};

DWORD CALLBACK OnProgress(LARGE_INTEGER total, LARGE_INTEGER done, LARGE_INTEGER, LARGE_INTEGER,
                          DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
  const auto* context = static_cast<ProgressContext*>(data);
  if (context->progress == nullptr || !*context->progress) return PROGRESS_CONTINUE;
  return (*context->progress)(static_cast<std::uint64_t>(done.QuadPart),
                              static_cast<std::uint64_t>(total.QuadPart))
             ? PROGRESS_CONTINUE
             : PROGRESS_CANCEL;
}

FileError FromLastError() { return FileErrorFromWindows(GetLastError()); }

FileError CopyToTemporary(const fs::path& from, const fs::path& temporary,
                          const CopyProgress& progress) {
  ProgressContext context{&progress};
  BOOL cancel = FALSE;
  if (!CopyFileExW(from.c_str(), temporary.c_str(), OnProgress, &context, &cancel,
                   COPY_FILE_FAIL_IF_EXISTS)) {
    return FromLastError();
  }
  // A read-only game must not make a read-only copy.
  SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  return FileError::None;
}

#else

constexpr std::uint64_t kChunk = 8u << 20;

bool Report(const CopyProgress& progress, std::uint64_t done, std::uint64_t total) {
  return !progress || progress(done, total);
}

// Plain reads and writes, for file systems that copy nothing themselves.
FileError CopyByHand(int in, int out, std::uint64_t done, std::uint64_t total,
                     const CopyProgress& progress) {
  std::string buffer(1u << 20, '\0');
  for (;;) {
    const ssize_t got = read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FileErrorFromErrno(errno);
    if (got == 0) return FileError::None;
    const FileError put = WriteAll(out, std::string_view(buffer.data(), static_cast<size_t>(got)));
    if (put != FileError::None) return put;
    done += static_cast<std::uint64_t>(got);
    if (!Report(progress, done, std::max(done, total))) return FileError::Cancelled;
  }
}

FileError CopyData(int in, int out, std::uint64_t total, const CopyProgress& progress) {
  if (!Report(progress, 0, total)) return FileError::Cancelled;
#ifdef __linux__
  // A clone shares the blocks: instant, whatever the size.
  if (ioctl(out, FICLONE, in) == 0)
    return Report(progress, total, total) ? FileError::None : FileError::Cancelled;
  std::uint64_t done = 0;
  while (done < total) {
    const ssize_t copied =
        copy_file_range(in, nullptr, out, nullptr, std::min(kChunk, total - done), 0);
    if (copied < 0 && errno == EINTR) continue;
    if (copied < 0) {
      const int number = errno;
      if (number == EXDEV || number == ENOSYS || number == EINVAL || number == EOPNOTSUPP) break;
      return FileErrorFromErrno(number);
    }
    if (copied == 0) break;  // the file shrank; what is left comes by hand
    done += static_cast<std::uint64_t>(copied);
    if (!Report(progress, done, total)) return FileError::Cancelled;
  }
  // What the kernel would not copy, and what a file that grew meanwhile holds more.
  return CopyByHand(in, out, done, total, progress);
#else
  return CopyByHand(in, out, 0, total, progress);
#endif
}

FileError CopyToTemporary(const fs::path& from, const fs::path& temporary,
                          const CopyProgress& progress) {
  const int in = open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (in < 0) return FileErrorFromErrno(errno);
  struct stat info {};
  if (fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(in);
    return FileError::NotRegular;
  }
  fcntl(in, F_SETFL, fcntl(in, F_GETFL) & ~O_NONBLOCK);
  // Ordinary permissions (the user's umask), writable even from a read-only game,
  // but never readable by more people than the game itself: a private file that
  // a link in a handed folder names stays private as a copy.
  const mode_t mode = (info.st_mode & 0444) | 0200;
  const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (out < 0) {
    const int number = errno;
    close(in);
    return FileErrorFromErrno(number);
  }
  FileError error = CopyData(in, out, static_cast<std::uint64_t>(info.st_size), progress);
  close(in);
  // Some file systems only tell at close that the space ran out.
  if (close(out) != 0 && error == FileError::None) error = FileErrorFromErrno(errno);
  return error;
}

#endif

}  // namespace

FileError CheckCopyDestination(const fs::path& to) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(to, ec);
  if (!fs::exists(status)) return FileError::None;
  return fs::is_regular_file(status) ? FileError::None : FileError::NotRegular;
}

FileResult CopyFileAtomically(const fs::path& from, const fs::path& to, const fs::path& temporary,
                              const CopyProgress& progress) {
  std::error_code ec;
  if (!fs::exists(from, ec)) return {FileError::Missing};
  if (!IsRegularFile(from)) return {FileError::NotRegular};
  if (const FileError refused = CheckCopyDestination(to); refused != FileError::None) {
    return {refused};
  }
  // Copying a file onto itself must not empty it.
  if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return {};
  FileError error = CopyToTemporary(from, temporary, progress);
  if (error == FileError::None) error = MoveIntoPlace(temporary, to);
  if (error != FileError::None) RemoveTemporaryFile(temporary);
  return {error};
}

}  // namespace valmerin
