#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <optional>
#include <thread>

#include "platform/process.h"
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

StartFailure FailureOf(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? StartFailure::kNoSuchFile
         : error == ERROR_BAD_EXE_FORMAT                                ? StartFailure::kNotAProgram
         : error == ERROR_ACCESS_DENIED ? StartFailure::kNotExecutable
                                        : StartFailure::kOther;
}

}  // namespace

std::optional<fs::path> FindProgramOnPath(std::string_view name) {
  const std::wstring wide = WideFromUtf8(name);
  std::wstring found(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD size = SearchPathW(nullptr, wide.c_str(), nullptr,
                                   static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (size == 0) return std::nullopt;
    if (size < found.size()) {
      found.resize(size);
      return fs::path(found);
    }
    found.assign(size, L'\0');
  }
  return std::nullopt;
}

StartedProcess StartProcess(const fs::path& file, const std::vector<std::string>& arguments,
                            const fs::path& folder, const std::optional<fs::path>& removeAfter) {
  // The program's own name is parsed without escapes: plain quotes suffice, and
  // a Windows path cannot hold a quote.
  std::wstring line = L"\"" + file.wstring() + L"\"";
  for (const std::string& argument : arguments) {
    line += L' ';
    AppendQuoted(line, WideFromUtf8(argument));
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return {FailureOf(GetLastError()), nullptr};
  }
  // We are the foreground program (the user just double-clicked): hand the
  // focus on to the one we started.
  AllowSetForegroundWindow(process.dwProcessId);
  CloseHandle(process.hThread);
  if (removeAfter) {
    HANDLE waited = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), process.hProcess, GetCurrentProcess(), &waited,
                        SYNCHRONIZE, FALSE, 0)) {
      std::thread([waited, file = *removeAfter] {
        WaitForSingleObject(waited, INFINITE);
        CloseHandle(waited);
        DeleteFileW(file.c_str());
      }).detach();
    }
  }
  return {std::nullopt, std::make_unique<ChildWatch>(process.hProcess)};
}

}  // namespace valmerin
#endif
