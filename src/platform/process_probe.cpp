#include "platform/process_probe.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "platform/utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return !part.empty() && FoldedName(text).find(FoldedName(part)) != std::string::npos;
}

}  // namespace

#ifdef _WIN32

bool ValmerinRuns(std::uint64_t number) {
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(number));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  wchar_t name[MAX_PATH];
  DWORD size = MAX_PATH;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  const bool named = QueryFullProcessImageNameW(process, 0, name, &size) != 0;
  CloseHandle(process);
  if (!running) return false;
  return !named || ContainsIgnoringCase(Utf8FromWide(std::wstring_view(name, size)), "valmerin");
}

std::optional<bool> ProgramRunsOn(const fs::path&, std::string_view) { return std::nullopt; }

#else

bool ValmerinRuns(std::uint64_t number) {
  const auto process = static_cast<pid_t>(number);
  if (process <= 0 || static_cast<std::uint64_t>(process) != number) return false;
  if (kill(process, 0) != 0 && errno != EPERM) return false;
  std::ifstream comm("/proc/" + std::to_string(number) + "/comm");
  if (!comm) return true;  // alive, and nothing says it is not ours
  std::string name;
  std::getline(comm, name);
  return ContainsIgnoringCase(name, "valmerin");
}

std::optional<bool> ProgramRunsOn(const fs::path& folder, std::string_view fileName) {
  std::error_code error;
  if (!fs::is_directory("/proc/self", error)) return std::nullopt;
  const fs::path wanted = fs::weakly_canonical(folder, error);
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
    const std::string number = entry.path().filename().string();
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code unreadable;
    const fs::path where = fs::read_symlink(entry.path() / "cwd", unreadable);
    if (unreadable || where != wanted) continue;
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    const std::string arguments{std::istreambuf_iterator<char>(in), {}};
    if (ContainsIgnoringCase(arguments, fileName)) return true;
    // A host for DOS programs gets the game in the configuration file it is given.
    for (std::size_t at = 0; at < arguments.size();) {
      const std::size_t end = std::min(arguments.find('\0', at), arguments.size());
      const std::string_view argument(arguments.data() + at, end - at);
      at = end + 1;
      if (argument.size() < 5 || !EqualsIgnoringCase(argument.substr(argument.size() - 5), ".conf"))
        continue;
      std::ifstream configuration{std::string(argument), std::ios::binary};
      const std::string text{std::istreambuf_iterator<char>(configuration), {}};
      if (ContainsIgnoringCase(text, fileName)) return true;
    }
  }
  return false;
}

#endif

}  // namespace valmerin
