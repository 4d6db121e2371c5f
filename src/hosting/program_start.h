#pragma once
// How a program of each kind is started on this host: directly, under Wine, or
// in DOSBox, with each path part in the form the program can open.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/child_watch.h"
#include "platform/process.h"

namespace valmerin {

struct StartOutcome {
  bool started = false;
  std::string error;                  // why not, in the program's own words (Italian)
  std::string notice;                 // something to tell the user although it started (Italian)
  std::unique_ptr<ChildWatch> watch;  // how the started program is doing, when known
};

// Which arguments are paths (the emulator's own files, the game copy). Each
// reaches the program in the form it can open: a host path for a native program,
// the drive-letter or Z: form under Wine, the DOS form in DOSBox.
using PathArguments = std::vector<std::size_t>;

// `program` is a folder text + program name ("C:\ZSnes\ZSnes.exe"), mapped with
// ToHostPath. Each argument reaches the program as one argument, whatever it holds.
// The program starts in its own folder. A DOS executable starts in DOSBox (see
// dos_launch.h) on every platform.
// Windows: any other program directly, maximised. Elsewhere: a Windows executable
// is started as `wine PROGRAM ARGS...` (host-path arguments in their Z: form), any
// other executable directly.
StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const PathArguments& pathArguments = {});

// DOSBox as this host has it: on the PATH first; on Windows then in the folders
// the installers of DOSBox, DOSBox Staging and DOSBox-X choose.
std::optional<std::filesystem::path> FindDosBox();

// Where DOSBox's installers put it under the folders `roots` (Program Files and
// the like), in the order they are tried: for each root, DOSBox's own versioned
// folders (newest first), then DOSBox Staging, then DOSBox-X. Only existing
// files count.
std::optional<std::filesystem::path> FindInstalledDosBox(
    const std::vector<std::filesystem::path>& roots);

}  // namespace valmerin
