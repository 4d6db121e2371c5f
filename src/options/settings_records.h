#pragma once
// The record of each settings file as a table of fields: which control each field
// holds and how it is written and read. One reader and one writer walk them.
#include <span>

#include "catalogue/emulator_table.h"

namespace valmerin {

enum class FieldKind {
  CheckValue,   // check box state, an integer
  OptionValue,  // option button, a Boolean
  BoxText,      // text box
  ComboText,    // text shown by a combo box
  ScrollValue,  // scroll bar position, an integer
  LinkedText,   // text box that, on reading, also sets scroll bar `scroll`
};

struct SettingsField {
  FieldKind kind;
  int control;
  int scroll = 0;  // LinkedText only
};

// In tab order, field 1 first.
std::span<const SettingsField> SettingsRecordOf(Emulator emulator);

}  // namespace valmerin
