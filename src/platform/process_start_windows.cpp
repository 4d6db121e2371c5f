#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <optional>
#include <thread>

#include "platform/dos_launch.h"
#include "platform/executable_kind.h"
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

std::string_view ReasonOf(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? kNoSuchFile
         : error == ERROR_BAD_EXE_FORMAT                                ? kNotAProgram
         : error == ERROR_ACCESS_DENIED                                 ? kNotExecutable
                                                                        : kStartFailed;
}

// `application` started with `line`, maximised; the process handle when it started.
std::optional<HANDLE> Create(const fs::path& application, std::wstring& line, DWORD& error) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    error = GetLastError();
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

std::optional<fs::path> FindDosBox() {
  wchar_t found[MAX_PATH];
  const DWORD size = SearchPathW(nullptr, L"dosbox.exe", nullptr, MAX_PATH, found, nullptr);
  if (size == 0 || size >= MAX_PATH) return std::nullopt;
  return fs::path(found);
}

// 64-bit Windows cannot run DOS programs: they start in DOSBox, which reads a
// configuration of ours that is removed once DOSBox has ended.
StartOutcome StartInDosBox(const std::string& program, const std::vector<std::string>& arguments) {
  const std::optional<fs::path> dosbox = FindDosBox();
  if (!dosbox) return {false, NeedsDosBox(program)};
  const DosBoxConfigurationFile prepared = PrepareDosBox(program, arguments);
  if (!prepared.file) return {false, prepared.error};
  const fs::path& configuration = *prepared.file;

  std::wstring line = L"\"" + dosbox->wstring() + L"\" -conf ";
  AppendQuoted(line, configuration.wstring());
  line += L" -exit";
  DWORD error = 0;
  const std::optional<HANDLE> process = Create(*dosbox, line, error);
  if (!process) {
    DeleteFileW(configuration.c_str());
    return {false, CannotStart(program, ReasonOf(error))};
  }
  std::thread([handle = *process, file = configuration] {
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    DeleteFileW(file.c_str());
  }).detach();
  return {true, {}};
}

}  // namespace

StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  std::error_code ec;
  const fs::path host = fs::absolute(ToHostPath(program), ec);
  const fs::file_status status = fs::status(host, ec);
  if (!fs::exists(status)) return {false, CannotStart(program, kNoSuchFile)};
  if (!fs::is_regular_file(status)) return {false, CannotStart(program, kNotAProgram)};
  if (KindOfExecutable(host) == ExecutableKind::kDos) return StartInDosBox(program, arguments);

  // The program's own name is parsed without escapes: plain quotes suffice, and
  // a Windows path cannot hold a quote.
  std::wstring line = L"\"" + host.wstring() + L"\"";
  for (const std::string& argument : arguments) {
    line += L' ';
    AppendQuoted(line, WideFromUtf8(argument));
  }
  DWORD error = 0;
  const std::optional<HANDLE> process = Create(host, line, error);
  if (!process) return {false, CannotStart(program, ReasonOf(error))};
  CloseHandle(*process);
  return {true, {}};
}

}  // namespace valmerin
#endif
