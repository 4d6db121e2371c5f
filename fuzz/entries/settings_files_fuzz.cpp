#include "fuzz_entry.h"
#include "targets/settings_files_target.h"

VALMERIN_FUZZ_ENTRY(valmerin::fuzz::SettingsFilesTarget)
