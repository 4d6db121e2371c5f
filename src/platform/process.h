#pragma once
// Starting outside programs: never through a shell, never waiting, no zombies.
// Which program runs a file (and in what form its paths go) is decided above,
// in hosting/program_start.h; this is only the bare start.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/child_watch.h"

namespace valmerin {

// Why a program did not start, as the system put it.
enum class StartFailure { kNoSuchFile, kNotExecutable, kNotAProgram, kOther };

struct StartedProcess {
  std::optional<StartFailure> failure;  // set when it did not start
  std::unique_ptr<ChildWatch> watch;    // how it is doing, once started
};

// Starts `file` in `folder` (its current directory). Each of `arguments` reaches
// it as one argument, whatever it holds: on Windows they are quoted by the
// Windows rules behind the quoted file name, and the program starts maximised
// with the focus. `removeAfter`, when given, is deleted once the program ends.
StartedProcess StartProcess(const std::filesystem::path& file,
                            const std::vector<std::string>& arguments,
                            const std::filesystem::path& folder,
                            const std::optional<std::filesystem::path>& removeAfter = {});

// The executable file of that name in the folders of PATH (Windows: the name as
// given, with its extension, by SearchPath's rules). nullopt when none is there.
std::optional<std::filesystem::path> FindProgramOnPath(std::string_view name);

// Splits a user's switch string into arguments by the Windows rules
// (CommandLineToArgvW): blanks separate, quotes group, backslashes before a quote
// escape it.
std::vector<std::string> SplitSwitchString(std::string_view switches);

}  // namespace valmerin
