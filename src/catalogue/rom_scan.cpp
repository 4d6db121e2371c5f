#include "catalogue/rom_scan.h"

#include "catalogue/copy_names.h"
#include "hosting/folder_search.h"

namespace valmerin {

bool ScanRomFolders(MainWindowState& state, const std::array<bool, kEmulatorCount>& available) {
  return ScanInto(state.gameLists, state.EmulatorFolder, state.descriptions, available);
}

bool ScanInto(GameLists& lists, const std::array<std::string, kEmulatorCount>& folders,
              const Descriptions& descriptions, const std::array<bool, kEmulatorCount>& available) {
  bool zsnesFoundRoms = false;
  for (const EmulatorInfo& info : EmulatorTable()) {
    const int index = IndexOf(info.emulator);
    if (!available[index]) continue;
    const std::string& folder = folders[index];
    GameList& list = lists[index];
    std::vector<std::string_view> patterns;
    for (std::string_view pattern : info.patterns) {
      if (!pattern.empty()) patterns.push_back(pattern);
    }
    // One pass over the folder answers all of the emulator's patterns, in table order;
    // the names are resolved straight from the listing, never copied on their own.
    std::vector<std::string_view> shown;
    VisitFolderPatterns(folder, patterns,
                        [&](std::size_t, std::span<const std::string_view> names) {
                          if (info.emulator == Emulator::ZSnes && !names.empty())
                            zsnesFoundRoms = true;
                          shown.resize(names.size());
                          descriptions.ResolveViews(names, shown);
                          for (std::size_t i = 0; i < names.size(); ++i) {
                            if (IsSystemCard(info.emulator, names[i])) continue;
                            if (IsCopyName(names[i])) continue;  // a copy of ours, or a stranger's
                            list.Add(names[i], shown[i]);
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
