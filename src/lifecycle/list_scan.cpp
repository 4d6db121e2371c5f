#include "lifecycle/list_scan.h"

#include <future>

#include "catalogue/archive_scan.h"
#include "catalogue/rom_scan.h"

namespace valmerin {

bool LoadAndScan(MainWindowState& state, GameLists& lists,
                 const std::array<bool, kEmulatorCount>& available) {
  std::future<Descriptions> loading = std::async(std::launch::async, ReadDescriptions);
  const auto loaded = [&] { state.descriptions = loading.get(); };
  ListedArchives archives;
  const bool roms =
      ScanInto(lists, state.EmulatorFolder, state.descriptions, available, &archives, loaded);
  if (loading.valid()) loaded();
  const bool archived = ScanArchivesWithCache(lists, state.archiveGames, state.EmulatorFolder,
                                              archives, state.descriptions, available);
  // A ZSnes folder of zipped games is a right folder too.
  return roms || archived;
}

}  // namespace valmerin
