#pragma once
// Host paths given as arguments to programs that see drive letters.
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

}  // namespace valmerin
