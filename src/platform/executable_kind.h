#pragma once
// What an executable file is, from its header: it decides whether the program
// starts directly, under Wine or in DOSBox.
#include <filesystem>

namespace valmerin {

enum class ExecutableKind {
  kWindows,  // "MZ" with a "PE\0\0" (or 16-bit "NE") header where e_lfanew points
  kDos,      // "MZ" with any other or no header: plain DOS, DOS extenders
  kOther,    // anything else: a native program or a script
};

ExecutableKind KindOfExecutable(const std::filesystem::path& file);

}  // namespace valmerin
