#pragma once
// How the user finds a box on the options window: the caption beside it and its
// tab. Used to say which box holds a text that cannot be saved.
#include <string>
#include <string_view>

#include "options/options_model.h"

namespace valmerin {

// `"Leggi palette da:" (NESticle)`, `"Cartella di ZSnes:" (Generali)`.
std::string DescribeControl(ControlId control);

// Why a text cannot be stored as one field of a record file, or "" when it can.
std::string WhyTextCannotBeStored(std::string_view text);

}  // namespace valmerin
