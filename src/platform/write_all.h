#pragma once
// Writing a buffer whole: the system may take fewer bytes than asked, or be
// interrupted, so every whole write goes through this one loop.
#include <string_view>

#include "platform/file_error.h"

namespace valmerin {

#ifdef _WIN32
// `handle` is a file HANDLE opened for writing.
FileError WriteAll(void* handle, std::string_view bytes);
#else
FileError WriteAll(int fd, std::string_view bytes);
#endif

}  // namespace valmerin
