#include "catalogue/folder_files.h"

namespace valmerin {

bool ReadFolderFile(Folders&) { return false; }
void ReadAvailabilityFile(Availability&) {}
void ApplyDefaultFolders(Folders& folders) {
  for (const EmulatorInfo& info : EmulatorTable()) {
    std::string& folder = folders[IndexOf(info.emulator)];
    if (folder.empty()) folder = std::string(info.defaultFolder);
  }
}
bool IsAvailable(const std::optional<int>& value) { return value.has_value() && *value != 0; }
SaveResult WriteAvailabilityFile(const std::array<int, kEmulatorCount>&) {
  return SaveResult::WriteFailed;
}
SaveResult WriteFolderFile(const Folders&) { return SaveResult::WriteFailed; }

}  // namespace valmerin
