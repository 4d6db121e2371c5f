#pragma once
// Why a file operation failed, as a value every caller can turn into a message
// that says what really went wrong.
#include <string_view>

namespace valmerin {

enum class FileError {
  None,
  Missing,     // gone, or never there
  NotRegular,  // a folder, a link where none may be, a FIFO, a device
  Permission,  // the system refused (access bits, a read-only disk)
  DiskFull,    // no space or quota left
  InUse,       // another program holds it (Windows sharing rules, a running program)
  ReadOnly,    // the user made the file read-only: it is left as it is
  Unreadable,  // exists but cannot be read: never replaced behind the user's back
  Cancelled,   // the user stopped it
  LinkOutside,  // a link leading out of its own folder: never written through
  Other,
};

// The result of an operation that gives nothing else back.
struct FileResult {
  FileError error = FileError::None;
  explicit operator bool() const { return error == FileError::None; }
};

FileError FileErrorFromErrno(int number);
#ifdef _WIN32
FileError FileErrorFromWindows(unsigned long code);  // a GetLastError() value
#endif

// Italian, to follow a file name: "il disco è pieno", "permesso negato", ...
std::string_view DescribeFileError(FileError error);

}  // namespace valmerin
