#include "launch/game_source.h"

#include "catalogue/archive_scan.h"
#include "hosting/path_forms.h"

namespace valmerin {

std::string GameSource::NameForCopy() const {
  return inside.empty() ? listed : EntryFileName(inside);
}

GameSource GameSourceOf(const MainWindowState& state, Emulator emulator) {
  GameSource source;
  source.listed = state.Text1;
  if (const std::string* inside = GameInsideArchive(state, emulator, state.Text1)) {
    source.inside = *inside;
  }
  return source;
}

ExtractResult TakeOutOfArchive(const std::filesystem::path& archive, const std::string& archiveText,
                               const std::string& inside, const std::filesystem::path& to,
                               const std::filesystem::path& temporary,
                               const CopyProgress& progress) {
  ExtractResult result = ExtractArchiveEntry(archive, inside, to, temporary, progress);
  // A cancel and a refused copy name read as for any copy.
  if (result.error == FileError::Cancelled || result.error == FileError::NotRegular) {
    result.why.clear();
  } else if (!result) {
    result.why = "Impossibile estrarre \"" + inside + "\" dall'archivio \"" + archiveText +
                 "\": " + result.why + ".";
  }
  return result;
}

}  // namespace valmerin
