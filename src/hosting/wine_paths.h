#pragma once
// Host paths given as arguments to programs that see drive letters.
#include <filesystem>
#include <string>
#include <string_view>

namespace valmerin {

// Whether an argument names a host file: it begins with "/" and it, or the
// folder it would be in (other than "/"), exists. So a DOS-style switch such as
// "/s" or "/w/p" stays a switch. Always false on Windows.
bool IsHostPathArgument(std::string_view text);

// The argument as a program under Wine reads it: a host path in its "Z:\..."
// form, anything else unchanged.
std::string WineArgument(const std::string& text);

// A path part (a folder text + name) as a program under Wine opens it: a
// drive-letter path as written, any other as the absolute host path in its Z:
// form, since the program does not start in our folder.
std::string WinePathArgument(const std::string& text);

// Whether the Wine installed as `wineProgram` (".../bin/wine") can run 32-bit
// programs: its 32-bit loader or libraries sit beside it.
bool WineRuns32Bit(const std::filesystem::path& wineProgram);

// Whether the Wine prefix has not been made yet: Wine's first start makes it,
// which takes tens of seconds.
bool WinePrefixIsNew();

}  // namespace valmerin
