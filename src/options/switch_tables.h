#pragma once
// The switches of each emulator as rows of data: a condition on one control and
// the parts of the piece appended when it holds. The builder walks the rows.
#include <span>
#include <string_view>
#include <vector>

#include "catalogue/emulator_table.h"

namespace valmerin {

enum class SwitchCondition {
  Always,
  Ticked,     // check box `control` is 1
  NotTicked,  // check box `control` is anything but 1
  Selected,   // option button `control` is selected
  ComboIs,    // combo box `control` shows exactly `text`
};

enum class PartKind {
  Literal,          // `text` as it is
  TextOf,           // the text of text box `control`
  ScrollSigned,     // scroll value of `control` with a leading blank (the sign's room)
  ComboFirstChar,   // first character of combo box `control`'s text
  LastDigitPlusOne  // last character of (scroll value of `control` + 1)
};

struct SwitchPart {
  PartKind kind;
  std::string_view text = {};
  int control = 0;
};

struct SwitchRow {
  SwitchCondition condition;
  int control = 0;
  std::string_view text = {};  // ComboIs only
  std::vector<SwitchPart> parts;
};

// One table per emulator, in tab order.
std::span<const SwitchRow> SwitchTableOf(Emulator emulator);

}  // namespace valmerin
