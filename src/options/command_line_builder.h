#pragma once
// The options window's OK button: the four switch strings from the control
// states, and the three files the rest of the program reads back.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "catalogue/emulator_table.h"
#include "options/options_model.h"

namespace valmerin {

// Tab order. nullopt: nothing was appended (written as an empty line).
using CommandLines = std::array<std::optional<std::string>, kEmulatorCount>;
CommandLines BuildCommandLines(const OptionsModel& options);

struct ConfirmOutcome {
  bool ok = true;
  std::string message;  // Italian, for a message box, when !ok
};

// Steps 1 to 9 of OK: availability file, command lines, result boxes,
// "parametri", folder boxes' final separator, "Cartelle.cfg". Before writing
// anything it checks that every text to be written reads back unchanged; if one
// would not, nothing is written. The caller hides the window when ok. A file to be
// written that is there but cannot be read is replaced only when `mayReplace`
// (given the file's name) says yes.
using ReplaceQuestion = std::function<bool(const std::string& file)>;
ConfirmOutcome ConfirmOptions(OptionsModel& options, const ReplaceQuestion& mayReplace = {});

}  // namespace valmerin
