#include "catalogue/archive_scan.h"

#include <algorithm>

#include "catalogue/copy_names.h"
#include "hosting/folder_search.h"
#include "platform/archive_reader.h"
#include "platform/host_path.h"
#include "platform/utf8.h"

namespace valmerin {

namespace {

// Which of the emulator's patterns a file inside an archive (folders in its name
// left aside) matches first; nullopt for no game of its, or a Magic Engine system card.
std::optional<std::size_t> GamePatternOf(Emulator emulator, std::string_view entry);

std::optional<std::size_t> GamePatternOf(Emulator emulator, std::string_view entry) {
  const std::string name = EntryFileName(std::string(entry));
  if (IsSystemCard(emulator, name)) return std::nullopt;
  const auto& patterns = InfoOf(emulator).patterns;
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    if (!patterns[i].empty() && MatchesPattern(name, patterns[i])) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ChooseGameInArchive(Emulator emulator,
                                               const std::vector<std::string>& files) {
  const std::string* best = nullptr;
  std::size_t bestPattern = 0;
  for (const std::string& file : files) {
    const std::optional<std::size_t> pattern = GamePatternOf(emulator, file);
    if (!pattern) continue;
    if (best == nullptr || *pattern < bestPattern ||
        (*pattern == bestPattern && NameLessCaseInsensitive(file, *best))) {
      best = &file;
      bestPattern = *pattern;
    }
  }
  if (best == nullptr) return std::nullopt;
  return *best;
}

bool ScanArchivesInto(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games,
                      const std::array<std::string, kEmulatorCount>& folders,
                      const ListedArchives& listed, const Descriptions& descriptions,
                      const std::array<bool, kEmulatorCount>& available, ArchiveCache& cache) {
  bool zsnesFound = false;
  for (const EmulatorInfo& info : EmulatorTable()) {
    const int index = IndexOf(info.emulator);
    games[index].clear();
    if (!available[index]) continue;
    const std::string& folder = folders[index];
    // The folder the scan listed them in.
    const std::filesystem::path hostFolder = SearchFolderOf(folder);
    // Archives follow the ROM files, in the order of their games' patterns, then of
    // their own names, as the ROMs are.
    struct Found {
      std::size_t pattern;
      std::string name;
      std::string game;
    };
    std::vector<Found> found;
    std::size_t archivePatternsMet = 0;
    std::string key = folder;
    for (const std::vector<std::string>& names : listed[index]) {
      if (!names.empty()) ++archivePatternsMet;
      for (std::string_view name : names) {
        if (IsCopyName(name)) continue;  // a stranger's, or written beside a copy
        const std::filesystem::path path = hostFolder / PathFromUtf8(name);
        const std::optional<FileStamp> stamp = StampOf(path);
        if (!stamp) continue;
        key.resize(folder.size());
        key += name;
        std::optional<std::size_t> pattern;
        std::string game;
        if (const std::string* known = cache.Find(index, key, *stamp)) {
          if (known->empty()) continue;  // nothing for this emulator
          // What the cache says is checked like anything read from the data folder.
          pattern = GamePatternOf(info.emulator, *known);
          if (pattern) game = *known;
        }
        if (!pattern) {
          const ArchiveListing listing = ListArchive(path);
          std::optional<std::string> chosen =
              listing.readable ? ChooseGameInArchive(info.emulator, listing.files) : std::nullopt;
          cache.Remember(index, key, *stamp, chosen.value_or(std::string()));
          if (!chosen) continue;
          pattern = GamePatternOf(info.emulator, *chosen);
          game = std::move(*chosen);
        }
        found.push_back({*pattern, std::string(name), std::move(game)});
      }
    }
    // The names of one archive pattern come in name order already.
    if (archivePatternsMet > 1) {
      std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.pattern != b.pattern ? a.pattern < b.pattern
                                      : NameLessCaseInsensitive(a.name, b.name);
      });
    } else {
      std::stable_sort(found.begin(), found.end(),
                       [](const Found& a, const Found& b) { return a.pattern < b.pattern; });
    }
    for (Found& archive : found) {
      lists[index].Add(archive.name, descriptions.ResolveView(archive.name));
      games[index].insert_or_assign(std::move(archive.name), std::move(archive.game));
    }
    if (info.emulator == Emulator::ZSnes && !found.empty()) zsnesFound = true;
  }
  return zsnesFound;
}

bool ScanArchivesWithCache(GameLists& lists, std::array<ArchiveGames, kEmulatorCount>& games,
                           const std::array<std::string, kEmulatorCount>& folders,
                           const ListedArchives& listed, const Descriptions& descriptions,
                           const std::array<bool, kEmulatorCount>& available) {
  ArchiveCache cache = ArchiveCache::Load();
  const bool zsnesFound =
      ScanArchivesInto(lists, games, folders, listed, descriptions, available, cache);
  cache.ForgetUnused();
  cache.SaveIfChanged();
  return zsnesFound;
}

const std::string* GameInsideArchive(const MainWindowState& state, Emulator emulator,
                                     const std::string& file) {
  const ArchiveGames& games = state.archiveGames[IndexOf(emulator)];
  const auto found = games.find(file);
  return found == games.end() ? nullptr : &found->second;
}

}  // namespace valmerin
