#include "options/settings_files.h"

namespace valmerin {

void ReadSettingsFiles(OptionsModel&, SettingsBuffer&, const std::array<bool, kEmulatorCount>&) {}

std::vector<std::string> WriteSettingsFiles(const OptionsModel&) { return {}; }

bool OptionTextStorable(std::string_view) { return true; }

}  // namespace valmerin
