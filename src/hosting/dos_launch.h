#pragma once
// DOS programs start in DOSBox: a configuration of ours mounts the folders the
// program and its files live in, and its [autoexec] runs the command line.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace valmerin {

struct DosMount {
  char letter = 'C';
  std::filesystem::path hostFolder;
};

struct DosCommand {
  std::vector<DosMount> mounts;
  char drive = 'C';
  std::string folder = "\\";           // where the program is, on `drive`
  std::string program;                 // its file name
  std::vector<std::string> arguments;  // in their DOS form
  std::string unreachable;             // a path DOS cannot name, when there is one
};

// A drive-letter program ("C:\NESticle\Dos4GW.exe") gets its drive's host folder
// mounted at its letter; any other gets its own folder mounted as C:. Arguments
// that are host paths become drive-letter paths (a folder outside every mount is
// mounted at a free letter); drive-letter arguments on another drive get that
// drive mounted. DOS sees only 8.3 names: a program folder with a longer name is
// mounted as the drive itself, and a path argument (by index in `pathArguments`)
// whose folders DOS cannot name is reached through its own folder mounted at a
// free letter; `unreachable` names what even so cannot be reached. nullopt when
// the program's folder cannot be found.
std::optional<DosCommand> PlanDosCommand(const std::string& program,
                                         const std::vector<std::string>& arguments,
                                         const std::vector<std::size_t>& pathArguments = {});

// "<", ">" and "|" where the command holds them, blank-separated: DOSBox's shell
// would take them as redirections, and it has no quoting.
std::string DosShellCharacters(const DosCommand& command);

// The user's own DOSBox configuration, loaded before ours as plain DOSBox would:
// the newest "dosbox-VERSION.conf" in ~/.dosbox (%LOCALAPPDATA%\DOSBox on Windows).
std::optional<std::filesystem::path> UserDosBoxConfiguration(const std::filesystem::path& folder);
std::optional<std::filesystem::path> UserDosBoxConfiguration();

// The configuration's text; nullopt when something in it cannot be written
// without changing what DOSBox runs (a line break, a quote in a folder name).
std::optional<std::string> DosBoxConfiguration(const DosCommand& command);

// The three steps above for one start: the configuration file, or why not in
// the user's words.
struct DosBoxConfigurationFile {
  std::optional<std::filesystem::path> file;
  std::string error;
};
DosBoxConfigurationFile PrepareDosBox(const std::string& program,
                                      const std::vector<std::string>& arguments,
                                      const std::vector<std::size_t>& pathArguments = {});

}  // namespace valmerin
