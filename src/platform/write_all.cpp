#include "platform/write_all.h"

#include <algorithm>
#include <cstddef>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

namespace valmerin {

#ifdef _WIN32

FileError WriteAll(void* handle, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle), bytes.data() + done, chunk, &written, nullptr)) {
      const FileError error = FileErrorFromWindows(GetLastError());
      return error == FileError::None ? FileError::Other : error;
    }
    if (written == 0) return FileError::DiskFull;
    done += written;
  }
  return FileError::None;
}

#else

FileError WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 ? FileErrorFromErrno(errno) : FileError::DiskFull;
    done += static_cast<std::size_t>(written);
  }
  return FileError::None;
}

#endif

}  // namespace valmerin
