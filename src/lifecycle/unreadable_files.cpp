#include "lifecycle/unreadable_files.h"

#include "catalogue/descriptions.h"
#include "catalogue/emulator_table.h"
#include "catalogue/folder_files.h"
#include "catalogue/play_records.h"
#include "launch/launch_parameters.h"
#include "platform/file_io.h"
#include "platform/host_path.h"

namespace valmerin {

std::vector<std::string> FindUnreadableFiles() {
  std::vector<std::string_view> names = {kFolderFile, kAvailabilityFile, kDescriptionsFile,
                                         kLaunchParametersFile, kPlayRecordsFile};
  for (const EmulatorInfo& info : EmulatorTable()) names.push_back(info.settingsFile);
  std::vector<std::string> unreadable;
  for (std::string_view name : names) {
    const auto path = FindInCurrentFolder(name);
    if (path && ExistsButUnreadable(*path)) unreadable.emplace_back(name);
  }
  return unreadable;
}

std::string UnreadableFilesNotice(const std::vector<std::string>& files) {
  if (files.empty()) return {};
  std::string text =
      files.size() == 1 ? "Impossibile leggere il file " : "Impossibile leggere i file ";
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i > 0) text += i + 1 == files.size() ? " e " : ", ";
    text += "\"" + files[i] + "\"";
  }
  text += files.size() == 1
              ? " (permesso negato): Valmerin lo lascia com'è e non lo sovrascrive."
              : " (permesso negato): Valmerin li lascia come sono e non li sovrascrive.";
  return text;
}

}  // namespace valmerin
