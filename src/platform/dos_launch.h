#pragma once
// DOS programs start in DOSBox: a configuration of ours mounts the folders the
// program and its files live in, and its [autoexec] runs the command line.
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
};

// A drive-letter program ("C:\NESticle\Dos4GW.exe") gets its drive's host folder
// mounted at its letter; any other gets its own folder mounted as C:. Arguments
// that are host paths become drive-letter paths (a folder outside every mount is
// mounted at a free letter); drive-letter arguments on another drive get that
// drive mounted. nullopt when the program's folder cannot be found.
std::optional<DosCommand> PlanDosCommand(const std::string& program,
                                         const std::vector<std::string>& arguments);

// The configuration's text; nullopt when something in it cannot be written
// without changing what DOSBox runs (a line break, a quote in a folder name).
std::optional<std::string> DosBoxConfiguration(const DosCommand& command);

// Writes `text` to a new file only we can read, in $XDG_RUNTIME_DIR (or the
// temporary folder). nullopt when it could not be written.
std::optional<std::filesystem::path> WriteTemporaryConfiguration(std::string_view text);

// The three steps above for one start: the configuration file, or why not in
// the user's words.
struct DosBoxConfigurationFile {
  std::optional<std::filesystem::path> file;
  std::string error;
};
DosBoxConfigurationFile PrepareDosBox(const std::string& program,
                                      const std::vector<std::string>& arguments);

}  // namespace valmerin
