#include "hosting/program_start.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <system_error>

#include "hosting/dos_launch.h"
#include "hosting/executable_kind.h"
#include "hosting/path_forms.h"
#include "hosting/start_messages.h"
#include "hosting/wine_paths.h"
#include "platform/folder_listing.h"
#include "platform/missing_loader.h"
#include "platform/utf8.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

std::string_view ReasonOf(StartFailure failure) {
  switch (failure) {
    case StartFailure::kNoSuchFile:
      return kNoSuchFile;
    case StartFailure::kNotExecutable:
      return kNotExecutable;
    case StartFailure::kNotAProgram:
      return kNotAProgram;
    case StartFailure::kOther:
      break;
  }
  return kStartFailed;
}

StartOutcome Started(StartedProcess process, const std::string& program,
                     const fs::path& host = {}) {
  if (process.failure == StartFailure::kNoSuchFile && !host.empty()) {
    // The program is there: what runs it is not.
    if (const std::optional<MissingLoader> missing = MissingLoaderOf(host)) {
      return {false, CannotStart(program, MissingLoaderReason(*missing)), {}, nullptr};
    }
  }
  if (process.failure)
    return {false, CannotStart(program, ReasonOf(*process.failure)), {}, nullptr};
  return {true, {}, {}, std::move(process.watch)};
}

bool Contains(const PathArguments& paths, std::size_t index) {
  return std::find(paths.begin(), paths.end(), index) != paths.end();
}

// Same name without regard to letter case (ASCII is enough for folder names of
// installers).
std::optional<fs::path> ExistingFile(const fs::path& folder,
                                     std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::error_code ec;
    if (fs::is_regular_file(folder / name, ec)) return folder / name;
  }
  return std::nullopt;
}

// 64-bit Windows cannot run DOS programs, nor can Linux: they start in DOSBox,
// which reads the user's settings first, then a configuration of ours that is
// removed once DOSBox has ended.
StartOutcome StartInDosBox(const std::string& program, const fs::path& host,
                           const std::vector<std::string>& arguments,
                           const PathArguments& pathArguments) {
  const std::optional<fs::path> dosbox = FindDosBox();
  if (!dosbox) return {false, NeedsDosBox(program), {}, nullptr};
  const DosBoxConfigurationFile prepared = PrepareDosBox(program, arguments, pathArguments);
  if (!prepared.file) return {false, prepared.error, {}, nullptr};
  std::vector<std::string> argv;
  if (std::optional<fs::path> user = UserDosBoxConfiguration()) {
    argv.insert(argv.end(), {"-conf", Utf8FromPath(*user)});
  }
  argv.insert(argv.end(), {"-conf", Utf8FromPath(*prepared.file), "-exit"});
  StartedProcess process = StartProcess(*dosbox, argv, host.parent_path(), prepared.file);
  if (process.failure) {
    std::error_code ec;
    fs::remove(*prepared.file, ec);
  }
  return Started(std::move(process), program);
}

}  // namespace

std::optional<fs::path> FindInstalledDosBox(const std::vector<fs::path>& roots) {
  for (const fs::path& root : roots) {
    // DOSBox installs into "DOSBox-0.74-3" and the like: the newest version wins.
    std::vector<std::string> versions;
    ForEachFolderEntry(root, [&](const FolderEntry& entry) {
      if (!entry.regularFile && EqualsIgnoringCase(entry.name.substr(0, 8), "DOSBox-0")) {
        versions.emplace_back(entry.stored);
      }
    });
    std::sort(versions.rbegin(), versions.rend());
    for (const std::string& version : versions) {
      if (auto found = ExistingFile(root / PathFromUtf8(version), {"DOSBox.exe"})) return found;
    }
    if (auto found = ExistingFile(root / "DOSBox Staging", {"dosbox.exe", "dosbox-staging.exe"})) {
      return found;
    }
    if (auto found = ExistingFile(root / "DOSBox-X", {"dosbox-x.exe"})) return found;
  }
  return std::nullopt;
}

std::optional<fs::path> FindDosBox() {
#ifdef _WIN32
  for (const char* name : {"dosbox.exe", "dosbox-x.exe"}) {
    if (std::optional<fs::path> found = FindProgramOnPath(name)) return found;
  }
  std::vector<fs::path> roots;
  for (const wchar_t* variable : {L"ProgramFiles", L"ProgramFiles(x86)", L"LOCALAPPDATA"}) {
    const wchar_t* value = _wgetenv(variable);
    if (value == nullptr || *value == L'\0') continue;
    fs::path root(value);
    // Per-user installs go under %LOCALAPPDATA%\Programs.
    if (std::wstring_view(variable) == L"LOCALAPPDATA") root /= L"Programs";
    roots.push_back(root);
  }
  // DOSBox-X's installer suggests the drive's root.
  if (const wchar_t* drive = _wgetenv(L"SystemDrive"); drive != nullptr && *drive != L'\0') {
    roots.push_back(fs::path(std::wstring(drive) + L"\\"));
  }
  return FindInstalledDosBox(roots);
#else
  return FindProgramOnPath("dosbox");
#endif
}

StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const PathArguments& pathArguments) {
  std::error_code ec;
  const fs::path host = fs::absolute(ToHostPath(program), ec).lexically_normal();
  const fs::file_status status = fs::status(host, ec);
  if (!fs::exists(status)) return {false, CannotStart(program, kNoSuchFile), {}, nullptr};
  if (!fs::is_regular_file(status)) return {false, CannotStart(program, kNotAProgram), {}, nullptr};

  const ExecutableHeader header = ReadExecutableHeader(host);
  if (header.kind == ExecutableKind::kDos) {
    return StartInDosBox(program, host, arguments, pathArguments);
  }
  fs::path file = host;
  std::vector<std::string> argv;
  std::string notice;
#ifndef _WIN32
  if (header.kind == ExecutableKind::kWindows) {
    std::optional<fs::path> wine = FindProgramOnPath("wine");
    if (!wine) return {false, CannotStart(program, kNoWine), {}, nullptr};
    if (header.bits != WindowsBits::k64 && !WineRuns32Bit(*wine)) {
      return {false, NeedsWine32(program), {}, nullptr};
    }
    if (WinePrefixIsNew()) notice = PreparingWinePrefix(WinePrefixFolder().string());
    file = *wine;
    argv = {host.string()};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      argv.push_back(Contains(pathArguments, i) ? WinePathArgument(arguments[i])
                                                : WineArgument(arguments[i]));
    }
    StartOutcome outcome = Started(StartProcess(file, argv, host.parent_path()), program, file);
    if (outcome.started) outcome.notice = std::move(notice);
    return outcome;
  }
  if (access(host.c_str(), X_OK) != 0) {
    return {false, CannotStart(program, kNotExecutable), {}, nullptr};
  }
#endif
  // It starts in its own folder, not ours: a relative path part is made whole
  // (and on Linux it reads no "\").
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    argv.push_back(Contains(pathArguments, i)
                       ? Utf8FromPath(fs::absolute(ToHostPath(arguments[i]), ec).lexically_normal())
                       : arguments[i]);
  }
  return Started(StartProcess(file, argv, host.parent_path()), program, fs::path(file));
}

}  // namespace valmerin
