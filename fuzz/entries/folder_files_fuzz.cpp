#include "fuzz_entry.h"
#include "targets/folder_files_target.h"

VALMERIN_FUZZ_ENTRY(valmerin::fuzz::FolderFilesTarget)
