#include "catalogue/startup_sequence.h"

namespace valmerin {

void RunStartupSequence(MainWindowState&, OptionsModel&, WindowHooks&) {}

}  // namespace valmerin
