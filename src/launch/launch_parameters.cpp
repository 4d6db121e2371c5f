#include "launch/launch_parameters.h"

#include "catalogue/record_file.h"

namespace valmerin {

std::string ReadSwitchString(Emulator emulator) {
  // Read afresh at every launch, so switches confirmed in the options window
  // apply at the next double-click.
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kLaunchParametersFile);
  FieldValue field;
  for (int line = 0; line <= IndexOf(emulator); ++line) {
    // A fresh destination each time: a short file must not hand on the value of
    // an earlier emulator's line.
    field = FieldValue{};
    if (!reader.ReadField(field)) return "";
  }
  return field.AsText();
}

}  // namespace valmerin
