#ifdef _WIN32
#include <windows.h>

#include <filesystem>

#include "platform/host_path.h"
#include "platform/process.h"
#include "platform/start_messages.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// The inverse of the program's own argument parsing: backslashes double only
// where a quote follows them.
void AppendQuoted(std::wstring& line, std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    line += argument;
    return;
  }
  line += L'"';
  size_t slashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    line.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
    slashes = 0;
    line += c;
  }
  line.append(2 * slashes, L'\\');
  line += L'"';
}

}  // namespace

StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  std::error_code ec;
  const fs::path host = fs::absolute(ToHostPath(program), ec);
  const fs::file_status status = fs::status(host, ec);
  if (!fs::exists(status)) return {false, CannotStart(program, kNoSuchFile)};
  if (!fs::is_regular_file(status)) return {false, CannotStart(program, kNotAProgram)};

  // The program's own name is parsed without escapes: plain quotes suffice, and
  // a Windows path cannot hold a quote.
  std::wstring line = L"\"" + host.wstring() + L"\"";
  for (const std::string& argument : arguments) {
    line += L' ';
    AppendQuoted(line, WideFromUtf8(argument));
  }

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(host.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    const DWORD error = GetLastError();
    const std::string_view reason = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                                        ? kNoSuchFile
                                    : error == ERROR_BAD_EXE_FORMAT ? kNotAProgram
                                    : error == ERROR_ACCESS_DENIED  ? kNotExecutable
                                                                    : kStartFailed;
    return {false, CannotStart(program, reason)};
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {true, {}};
}

}  // namespace valmerin
#endif
