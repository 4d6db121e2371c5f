#include "catalogue/rom_scan.h"

#include <algorithm>

#include "catalogue/copy_names.h"
#include "hosting/folder_search.h"

namespace valmerin {

bool ScanInto(GameLists& lists, const std::array<std::string, kEmulatorCount>& folders,
              const Descriptions& descriptions, const std::array<bool, kEmulatorCount>& available,
              ListedArchives* archives, const std::function<void()>& descriptionsReady) {
  bool zsnesFoundRoms = false;
  bool waited = !descriptionsReady;
  for (const EmulatorInfo& info : EmulatorTable()) {
    const int index = IndexOf(info.emulator);
    if (!available[index]) continue;
    const std::string& folder = folders[index];
    GameList& list = lists[index];
    std::vector<std::string_view> patterns;
    for (std::string_view pattern : info.patterns) {
      if (!pattern.empty()) patterns.push_back(pattern);
    }
    const std::size_t romPatterns = patterns.size();
    if (archives != nullptr) {
      for (auto& names : (*archives)[index]) names.clear();
      patterns.insert(patterns.end(), kArchivePatterns.begin(), kArchivePatterns.end());
    }
    // One pass over the folder answers all of the emulator's patterns, in table order;
    // the names are resolved straight from the listing, never copied on their own.
    // Resolved a slice at a time: a whole folder's worth would sit beside the listing
    // at the scan's peak.
    std::array<std::string_view, 256> shown;
    const FolderListing listing(folder);
    if (!waited) {
      descriptionsReady();
      waited = true;
    }
    listing.Visit(patterns, [&](std::size_t pattern, std::span<const std::string_view> names) {
      if (pattern >= romPatterns) {
        (*archives)[index][pattern - romPatterns].assign(names.begin(), names.end());
        return;
      }
      if (info.emulator == Emulator::ZSnes && !names.empty()) zsnesFoundRoms = true;
      for (std::size_t at = 0; at < names.size(); at += shown.size()) {
        const auto slice = names.subspan(at, std::min(shown.size(), names.size() - at));
        descriptions.ResolveViews(slice, std::span(shown).first(slice.size()));
        for (std::size_t i = 0; i < slice.size(); ++i) {
          if (IsSystemCard(info.emulator, slice[i])) continue;
          if (IsCopyName(slice[i])) continue;  // a copy of ours, or a stranger's
          list.Add(slice[i], shown[i]);
        }
      }
    });
  }
  // A ZSnes folder with no ROM at all is most likely a wrong folder.
  return zsnesFoundRoms || !available[IndexOf(Emulator::ZSnes)];
}

void ScanFailure(WindowHooks& hooks) {
  hooks.ShowMessage(
      "Errore nella ricerca delle ROMs. Possibili errori: PERCORSO ERRATO oppure NESSUNA ROM "
      "DISPONIBILE.");
  hooks.ShowMessage(
      "Verrà ora aperta la schermata delle opzioni. Selezionare la cartella Generale e inserire i "
      "percorsi corretti per i vari emulatori.");
  hooks.ShowMessage("Dopo aver corretto i percorsi, riavviare il programma");
  hooks.ShowOptionsWindow();
}

}  // namespace valmerin
