#include "catalogue/archive_scan.h"

#include <algorithm>

#include "platform/archive_reader.h"
#include "platform/folder_search.h"
#include "platform/host_path.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

const std::vector<std::string_view> kArchivePatterns = {"*.zip", "*.7z"};

bool IsSystemCardName(std::string_view name) {
  return name.size() >= 7 && EqualsIgnoringCase(name.substr(0, 7), "syscard");
}

}  // namespace

bool IsGameInArchive(Emulator emulator, std::string_view entry) {
  const std::string name = EntryFileName(std::string(entry));
  if (emulator == Emulator::MagicEngine && IsSystemCardName(name)) return false;
  return std::ranges::any_of(InfoOf(emulator).patterns, [&](std::string_view pattern) {
    return !pattern.empty() && MatchesPattern(name, pattern);
  });
}

std::optional<std::string> ChooseGameInArchive(Emulator emulator,
                                               const std::vector<std::string>& files) {
  for (std::string_view pattern : InfoOf(emulator).patterns) {
    if (pattern.empty()) continue;
    const std::string* best = nullptr;
    for (const std::string& file : files) {
      const std::string name = EntryFileName(file);
      if (!MatchesPattern(name, pattern)) continue;
      if (emulator == Emulator::MagicEngine && IsSystemCardName(name)) continue;
      if (best == nullptr || NameLessCaseInsensitive(file, *best)) best = &file;
    }
    if (best != nullptr) return *best;
  }
  return std::nullopt;
}

bool ScanArchivesInto(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games,
                      const std::array<std::string, kEmulatorCount>& folders,
                      const Descriptions& descriptions,
                      const std::array<bool, kEmulatorCount>& available, ArchiveCache& cache) {
  bool zsnesFound = false;
  for (const EmulatorInfo& info : EmulatorTable()) {
    const int index = IndexOf(info.emulator);
    games[index].clear();
    if (!available[index]) continue;
    const std::string& folder = folders[index];
    const std::filesystem::path hostFolder = ToHostPath(folder);
    VisitFolderPatterns(
        folder, kArchivePatterns, [&](std::size_t, std::span<const std::string_view> names) {
          for (std::string_view name : names) {
            const std::filesystem::path path = hostFolder / PathFromUtf8(name);
            const std::optional<FileStamp> stamp = StampOf(path);
            if (!stamp) continue;
            const std::string key = folder + std::string(name);
            std::optional<std::string> game = cache.Find(index, key, *stamp);
            // What the cache says is checked like anything read from the data folder.
            if (game && !game->empty() && !IsGameInArchive(info.emulator, *game)) game.reset();
            if (!game) {
              const ArchiveListing listing = ListArchive(path);
              game = listing.readable ? ChooseGameInArchive(info.emulator, listing.files)
                                      : std::nullopt;
              cache.Remember(index, key, *stamp, game.value_or(std::string()));
            }
            if (!game || game->empty()) continue;
            lists[index].Add(name, descriptions.ResolveView(name));
            games[index].insert_or_assign(std::string(name), std::move(*game));
            if (info.emulator == Emulator::ZSnes) zsnesFound = true;
          }
        });
  }
  return zsnesFound;
}

bool ScanArchivesWithCache(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games,
                           const std::array<std::string, kEmulatorCount>& folders,
                           const Descriptions& descriptions,
                           const std::array<bool, kEmulatorCount>& available) {
  ArchiveCache cache = ArchiveCache::Load();
  const bool zsnesFound = ScanArchivesInto(lists, games, folders, descriptions, available, cache);
  cache.ForgetUnused();
  cache.SaveIfChanged();
  return zsnesFound;
}

bool ScanArchivedGames(MainWindowState& state, const std::array<bool, kEmulatorCount>& available) {
  return ScanArchivesWithCache(state.gameLists, state.archiveGames, state.EmulatorFolder,
                               state.descriptions, available);
}

const std::string* GameInsideArchive(const MainWindowState& state, Emulator emulator,
                                     const std::string& file) {
  const ArchiveGames& games = state.archiveGames[IndexOf(emulator)];
  const auto found = games.find(file);
  return found == games.end() ? nullptr : &found->second;
}

}  // namespace valmerin
