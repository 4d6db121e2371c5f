#include "platform/dos_launch.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>

#include "platform/host_path.h"
#include "platform/start_messages.h"
#include "platform/utf8.h"
#include "platform/wine_paths.h"

#ifdef _WIN32
#include <windows.h>

#include <random>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// "C:\..." or "c:/...": a path on a drive, not "C:" alone or "C:file".
bool IsDrivePath(std::string_view text) {
  return BeginsWithDrive(text) && text.size() >= 3 && (text[2] == '\\' || text[2] == '/');
}

char DriveLetter(std::string_view text) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

std::string Backslashed(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
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

  // "X:\rel\path" for a host file inside a mounted folder.
  std::optional<std::string> DosFormOf(const fs::path& file) const {
    for (const DosMount& mount : mounts_) {
      const fs::path relative = file.lexically_relative(mount.hostFolder);
      if (relative.empty() || *relative.begin() == "..") continue;
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

std::string DosArgument(const std::string& argument, MountTable& table) {
  if (IsDrivePath(argument)) {
    const char letter = DriveLetter(argument);
    if (!table.Has(letter)) {
      if (std::optional<fs::path> folder = DriveFolder(letter)) table.Add(letter, *folder);
    }
    return Backslashed(argument);
  }
  if (!IsHostPathArgument(argument)) return argument;
  const fs::path file = Canonical(PathFromUtf8(argument));
  if (std::optional<std::string> form = table.DosFormOf(file)) return *form;
  std::optional<char> letter = table.FreeLetter();
  if (!letter || !file.has_parent_path()) return argument;
  table.Add(*letter, file.parent_path());
  return table.DosFormOf(file).value_or(argument);
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
                                         const std::vector<std::string>& arguments) {
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
    table.Add(command.drive, *folder);
    const std::string path = Backslashed(dosProgram.substr(2));
    const size_t slash = path.rfind('\\');
    command.folder = slash == 0 ? "\\" : path.substr(0, slash);
    command.program = path.substr(slash + 1);
  } else {
    const fs::path host = Canonical(ToHostPath(program));
    if (!host.has_parent_path()) return std::nullopt;
    table.Add('C', host.parent_path());
    command.program = Utf8FromPath(host.filename());
  }
  for (const std::string& argument : arguments) {
    command.arguments.push_back(DosArgument(argument, table));
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
    text += "mount " + std::string(1, mount.letter) + " \"" + BatchText(folder) + "\"\n";
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

std::optional<fs::path> WriteTemporaryConfiguration(std::string_view text) {
#ifdef _WIN32
  std::error_code ec;
  const fs::path folder = fs::temp_directory_path(ec);
  if (ec) return std::nullopt;
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path file = folder / ("valmerin-dosbox-" + std::to_string(random()) +
                                    std::to_string(random()) + ".conf");
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return std::nullopt;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(handle);
    if (ok) return file;
    DeleteFileW(file.c_str());
    return std::nullopt;
  }
  return std::nullopt;
#else
  std::string folder = "/tmp";
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
    std::error_code ec;
    if (fs::is_directory(runtime, ec)) folder = runtime;
  }
  std::string name = folder + "/valmerin-dosbox-XXXXXX.conf";
  // mkstemps makes the file new and private (mode 0600), never following a link.
  const int fd = mkstemps(name.data(), 5);
  if (fd < 0) return std::nullopt;
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) break;
    done += static_cast<size_t>(wrote);
  }
  const bool closed = close(fd) == 0;
  if (done != text.size() || !closed) {
    unlink(name.c_str());
    return std::nullopt;
  }
  return fs::path(name);
#endif
}

DosBoxConfigurationFile PrepareDosBox(const std::string& program,
                                      const std::vector<std::string>& arguments) {
  const std::optional<DosCommand> command = PlanDosCommand(program, arguments);
  if (!command) return {std::nullopt, CannotStart(program, kNoSuchFile)};
  const std::optional<std::string> text = DosBoxConfiguration(*command);
  if (!text) return {std::nullopt, CannotStart(program, kNotForDosBox)};
  std::optional<fs::path> file = WriteTemporaryConfiguration(*text);
  if (!file) return {std::nullopt, CannotStart(program, kNoDosBoxConfiguration)};
  return {std::move(file), {}};
}

}  // namespace valmerin
