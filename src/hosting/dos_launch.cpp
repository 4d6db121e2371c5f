#include "hosting/dos_launch.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

#include "hosting/path_forms.h"
#include "hosting/start_messages.h"
#include "hosting/wine_paths.h"
#include "platform/runtime_files.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

char DriveLetter(std::string_view text) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

// A name DOS can hold as it is: up to 8 characters, a dot and up to 3 more, of
// the characters DOS allows. DOSBox shows any other name under a generated
// short name that depends on the folder's other names, so we never guess one.
bool IsDosName(std::string_view name) {
  if (name == "." || name == "..") return true;
  const size_t dot = name.find('.');
  const std::string_view stem = name.substr(0, dot);
  const std::string_view extension =
      dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (stem.empty() || stem.size() > 8 || extension.size() > 3) return false;
  if (extension.find('.') != std::string_view::npos) return false;
  constexpr std::string_view kAllowed = "!#$%&'()-@^_`{}~";
  return std::all_of(name.begin(), name.end(), [&](char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return c == '.' || (u < 0x80 && std::isalnum(u)) || kAllowed.find(c) != std::string_view::npos;
  });
}

bool AllDosNames(const fs::path& relative) {
  return std::all_of(relative.begin(), relative.end(),
                     [](const fs::path& part) { return IsDosName(Utf8FromPath(part)); });
}

bool AllDosNames(std::string_view backslashed) {
  size_t start = 0;
  while (start < backslashed.size()) {
    size_t end = backslashed.find('\\', start);
    if (end == std::string_view::npos) end = backslashed.size();
    if (end > start && !IsDosName(backslashed.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

fs::path Canonical(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? fs::absolute(path, ec).lexically_normal() : canonical;
}

// The host folder a drive letter stands for: in the Wine prefix, or the drive itself.
std::optional<fs::path> DriveFolder(char letter) {
  const fs::path host = ToHostPath(std::string(1, letter) + ":\\");
  std::error_code ec;
  if (!fs::is_directory(host, ec)) return std::nullopt;
  return Canonical(host);
}

class MountTable {
 public:
  explicit MountTable(std::vector<DosMount>& mounts) : mounts_(mounts) {}

  bool Has(char letter) const {
    return std::any_of(mounts_.begin(), mounts_.end(),
                       [letter](const DosMount& m) { return m.letter == letter; });
  }

  void Add(char letter, fs::path folder) { mounts_.push_back({letter, std::move(folder)}); }

  // Whether `letter` is mounted at its drive's root, so its paths keep their text.
  bool IsWholeDrive(char letter) const {
    const std::optional<fs::path> drive = DriveFolder(letter);
    return drive && std::any_of(mounts_.begin(), mounts_.end(), [&](const DosMount& m) {
             return m.letter == letter && m.hostFolder == *drive;
           });
  }

  // "X:\rel\path" for a host file inside a mounted folder.
  std::optional<std::string> DosFormOf(const fs::path& file) const {
    for (const DosMount& mount : mounts_) {
      const fs::path relative = file.lexically_relative(mount.hostFolder);
      if (relative.empty() || *relative.begin() == ".." || !AllDosNames(relative)) continue;
      std::string form = std::string(1, mount.letter) + ":\\";
      if (relative != ".") form += Backslashed(Utf8FromPath(relative));
      return form;
    }
    return std::nullopt;
  }

  // DOSBox keeps Z: for itself; A: and B: are floppies to DOS programs.
  std::optional<char> FreeLetter() const {
    for (char letter = 'D'; letter < 'Z'; ++letter) {
      if (!Has(letter)) return letter;
    }
    return std::nullopt;
  }

 private:
  std::vector<DosMount>& mounts_;
};

// A host file in DOS form: inside a mount when every name on the way is a DOS
// name, else through its own folder mounted at a free letter. nullopt when even
// that cannot reach it.
std::optional<std::string> HostFileForm(const fs::path& file, MountTable& table) {
  if (std::optional<std::string> form = table.DosFormOf(file)) return form;
  if (!file.has_parent_path() || !IsDosName(Utf8FromPath(file.filename()))) return std::nullopt;
  std::optional<char> letter = table.FreeLetter();
  if (!letter) return std::nullopt;
  table.Add(*letter, file.parent_path());
  return table.DosFormOf(file);
}

std::optional<std::string> DosArgument(const std::string& argument, bool isPath,
                                       MountTable& table) {
  if (IsDrivePath(argument)) {
    const char letter = DriveLetter(argument);
    if (!table.Has(letter)) {
      if (std::optional<fs::path> folder = DriveFolder(letter)) table.Add(letter, *folder);
    }
    const std::string dos = Backslashed(argument);
    if (!isPath || (table.IsWholeDrive(letter) && AllDosNames(std::string_view(dos).substr(3)))) {
      return dos;
    }
    return HostFileForm(Canonical(ToHostPath(argument)), table);
  }
  if (isPath) return HostFileForm(Canonical(ToHostPath(argument)), table);
  if (!IsHostPathArgument(argument)) return argument;
  const fs::path file = Canonical(PathFromUtf8(argument));
  return HostFileForm(file, table).value_or(argument);
}

// The text of an [autoexec] line: it runs as a batch file, where "%" starts a variable.
std::string BatchText(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '%') escaped += '%';
    escaped += c;
  }
  return escaped;
}

bool HasControlCharacters(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

std::optional<DosCommand> PlanDosCommand(const std::string& program,
                                         const std::vector<std::string>& arguments,
                                         const std::vector<std::size_t>& pathArguments) {
  DosCommand command;
  MountTable table(command.mounts);
  std::string dosProgram = program;
#ifdef _WIN32
  if (!IsDrivePath(dosProgram)) {
    std::error_code ec;
    dosProgram = Utf8FromPath(fs::absolute(ToHostPath(program), ec));
  }
#endif
  if (IsDrivePath(dosProgram)) {
    command.drive = DriveLetter(dosProgram);
    std::optional<fs::path> folder = DriveFolder(command.drive);
    if (!folder) return std::nullopt;
    const std::string path = Backslashed(dosProgram.substr(2));
    const size_t slash = path.rfind('\\');
    command.folder = slash == 0 ? "\\" : path.substr(0, slash);
    command.program = path.substr(slash + 1);
    if (AllDosNames(std::string_view(command.folder))) {
      table.Add(command.drive, *folder);
    } else {
      // A folder DOS cannot name becomes the drive itself: the shortest DOS path.
      table.Add(command.drive, Canonical(ToHostPath(program)).parent_path());
      command.folder = "\\";
    }
  } else {
    const fs::path host = Canonical(ToHostPath(program));
    if (!host.has_parent_path()) return std::nullopt;
    table.Add('C', host.parent_path());
    command.program = Utf8FromPath(host.filename());
  }
  if (!IsDosName(command.program)) command.unreachable = program;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const bool isPath =
        std::find(pathArguments.begin(), pathArguments.end(), i) != pathArguments.end();
    std::optional<std::string> form = DosArgument(arguments[i], isPath, table);
    if (!form && command.unreachable.empty()) command.unreachable = arguments[i];
    command.arguments.push_back(form.value_or(arguments[i]));
  }
  return command;
}

std::optional<std::string> DosBoxConfiguration(const DosCommand& command) {
  std::string text = "[autoexec]\n";
  for (const DosMount& mount : command.mounts) {
    const std::string folder = Utf8FromPath(mount.hostFolder);
    if (HasControlCharacters(folder) || folder.find('"') != std::string::npos) {
      return std::nullopt;
    }
    // The user's own [autoexec] runs before ours and may have taken the letter.
    const std::string letter(1, mount.letter);
    text += "mount -u " + letter + "\nmount " + letter + " \"" + BatchText(folder) + "\"\n";
  }
  std::string line = command.program;
  for (const std::string& argument : command.arguments) line += " " + argument;
  if (HasControlCharacters(line) || HasControlCharacters(command.folder)) return std::nullopt;
  text += std::string(1, command.drive) + ":\n";
  text += "cd " + BatchText(command.folder) + "\n";
  text += BatchText(line) + "\n";
  text += "exit\n";
  return text;
}

std::string DosShellCharacters(const DosCommand& command) {
  std::string text = command.program + command.folder;
  for (const std::string& argument : command.arguments) text += argument;
  for (const DosMount& mount : command.mounts) text += Utf8FromPath(mount.hostFolder);
  std::string found;
  for (char c : std::string_view("<>|")) {
    if (text.find(c) == std::string::npos) continue;
    if (!found.empty()) found += ' ';
    found += c;
  }
  return found;
}

std::optional<fs::path> UserDosBoxConfiguration(const fs::path& folder) {
  // DOSBox keeps one file per version, "dosbox-0.74-3.conf"; the newest belongs
  // to the DOSBox installed now.
  std::optional<fs::path> newest;
  fs::file_time_type newestTime;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = Utf8FromPath(it->path().filename());
    if (name.rfind("dosbox-", 0) != 0 || name.size() < 12 ||
        name.compare(name.size() - 5, 5, ".conf") != 0 || !it->is_regular_file(ec)) {
      continue;
    }
    const fs::file_time_type time = it->last_write_time(ec);
    if (!newest || time > newestTime) newest = it->path(), newestTime = time;
  }
  return newest;
}

std::optional<fs::path> UserDosBoxConfiguration() {
#ifdef _WIN32
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  if (local == nullptr) return std::nullopt;
  return UserDosBoxConfiguration(fs::path(local) / L"DOSBox");
#else
  const char* home = std::getenv("HOME");
  if (home == nullptr) return std::nullopt;
  return UserDosBoxConfiguration(fs::path(home) / ".dosbox");
#endif
}

DosBoxConfigurationFile PrepareDosBox(const std::string& program,
                                      const std::vector<std::string>& arguments,
                                      const std::vector<std::size_t>& pathArguments) {
  const std::optional<DosCommand> command = PlanDosCommand(program, arguments, pathArguments);
  if (!command) return {std::nullopt, CannotStart(program, kNoSuchFile)};
  if (!command->unreachable.empty()) {
    return {std::nullopt, CannotStart(program, NotReachableFromDos(command->unreachable))};
  }
  if (const std::string shell = DosShellCharacters(*command); !shell.empty()) {
    return {std::nullopt, CannotStart(program, DosShellWouldRedirect(shell))};
  }
  const std::optional<std::string> text = DosBoxConfiguration(*command);
  if (!text) return {std::nullopt, CannotStart(program, kNotForDosBox)};
  std::optional<fs::path> file = WritePrivateFile("valmerin-dosbox", ".conf", *text);
  if (!file) return {std::nullopt, CannotStart(program, kNoDosBoxConfiguration)};
  return {std::move(file), {}};
}

}  // namespace valmerin
