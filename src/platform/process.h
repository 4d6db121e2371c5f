#pragma once
// Starting outside programs: never through a shell, never waiting, no zombies.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/child_watch.h"

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
// Windows: CreateProcessW, maximised. Elsewhere: a Windows executable is started
// as `wine PROGRAM ARGS...` (host-path arguments in their Z: form), any other
// executable directly.
StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const PathArguments& pathArguments = {});

// Splits a user's switch string into arguments by the Windows rules
// (CommandLineToArgvW): blanks separate, quotes group, backslashes before a quote
// escape it.
std::vector<std::string> SplitSwitchString(std::string_view switches);

}  // namespace valmerin
