#ifdef _WIN32
#include <windows.h>

#include <algorithm>
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
std::optional<HANDLE> Create(const fs::path& application, std::wstring& line, DWORD& error,
                             const fs::path& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
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
StartOutcome StartInDosBox(const std::string& program, const fs::path& host,
                           const std::vector<std::string>& arguments,
                           const PathArguments& pathArguments) {
  const std::optional<fs::path> dosbox = FindDosBox();
  if (!dosbox) return {false, NeedsDosBox(program), {}, nullptr};
  const DosBoxConfigurationFile prepared = PrepareDosBox(program, arguments, pathArguments);
  if (!prepared.file) return {false, prepared.error, {}, nullptr};
  const fs::path& configuration = *prepared.file;

  // The user's settings first, then only what we must set.
  std::wstring line = L"\"" + dosbox->wstring() + L"\"";
  if (std::optional<fs::path> user = UserDosBoxConfiguration()) {
    line += L" -conf ";
    AppendQuoted(line, user->wstring());
  }
  line += L" -conf ";
  AppendQuoted(line, configuration.wstring());
  line += L" -exit";
  DWORD error = 0;
  const std::optional<HANDLE> process = Create(*dosbox, line, error, host.parent_path());
  if (!process) {
    DeleteFileW(configuration.c_str());
    return {false, CannotStart(program, ReasonOf(error)), {}, nullptr};
  }
  std::thread([handle = *process, file = configuration] {
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    DeleteFileW(file.c_str());
  }).detach();
  return {true, {}, {}, nullptr};
}

}  // namespace

StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const PathArguments& pathArguments) {
  std::error_code ec;
  const fs::path host = fs::absolute(ToHostPath(program), ec);
  const fs::file_status status = fs::status(host, ec);
  if (!fs::exists(status)) return {false, CannotStart(program, kNoSuchFile), {}, nullptr};
  if (!fs::is_regular_file(status)) return {false, CannotStart(program, kNotAProgram), {}, nullptr};
  if (KindOfExecutable(host) == ExecutableKind::kDos) {
    return StartInDosBox(program, host, arguments, pathArguments);
  }

  // The program's own name is parsed without escapes: plain quotes suffice, and
  // a Windows path cannot hold a quote.
  std::wstring line = L"\"" + host.wstring() + L"\"";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    line += L' ';
    // The program starts in its own folder: a relative path part is made whole.
    const bool isPath =
        std::find(pathArguments.begin(), pathArguments.end(), i) != pathArguments.end();
    AppendQuoted(line, isPath ? fs::absolute(ToHostPath(arguments[i]), ec).wstring()
                              : WideFromUtf8(arguments[i]));
  }
  DWORD error = 0;
  const std::optional<HANDLE> process = Create(host, line, error, host.parent_path());
  if (!process) return {false, CannotStart(program, ReasonOf(error)), {}, nullptr};
  return {true, {}, {}, std::make_unique<ChildWatch>(*process)};
}

}  // namespace valmerin
#endif
