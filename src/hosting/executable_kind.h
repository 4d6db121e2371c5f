#pragma once
// What an executable file is, from its header: it decides whether the program
// starts directly, under Wine or in DOSBox.
#include <filesystem>
#include <optional>

namespace valmerin {

enum class ExecutableKind {
  kWindows,  // "MZ" with a "PE\0\0" (or 16-bit "NE") header where e_lfanew points
  kDos,      // "MZ" with any other or no header: plain DOS, DOS extenders
  kOther,    // anything else: a native program or a script
};

// What a Windows program needs from Wine: 16- and 32-bit programs need a Wine
// that can run 32-bit code, which Debian's plain "wine" package on amd64 cannot.
enum class WindowsBits { k16, k32, k64 };

struct ExecutableHeader {
  ExecutableKind kind = ExecutableKind::kOther;
  // From the PE header's machine field; k16 for NE programs; nullopt for a file
  // that is not a Windows program.
  std::optional<WindowsBits> bits;
};

// One read of the file's header answers both questions a start asks.
ExecutableHeader ReadExecutableHeader(const std::filesystem::path& file);

}  // namespace valmerin
