#pragma once
#include <string>

#include "catalogue/emulator_table.h"

namespace valmerin {

inline constexpr std::string_view kLaunchParametersFile = "parametri";

// The emulator's switch string, read afresh from "parametri"; empty when the file
// or the line is missing.
std::string ReadSwitchString(Emulator emulator);

}  // namespace valmerin
