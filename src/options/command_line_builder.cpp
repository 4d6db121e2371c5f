#include "options/command_line_builder.h"

namespace valmerin {

CommandLines BuildCommandLines(const OptionsModel&) { return {}; }

ConfirmOutcome ConfirmOptions(OptionsModel&) { return {}; }

}  // namespace valmerin
