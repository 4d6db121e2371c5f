#include "ui/game_list_file.h"

#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace valmerin {

SaveResult WriteGameListFile(const std::filesystem::path& path, const GameLists& lists,
                             bool unknownAsQuestionMarks) {
  RecordWriter writer;
  for (const std::string& line : ExportLines(lists)) {
    writer.WritePlainLine(unknownAsQuestionMarks ? WithUnknownLettersAsQuestionMarks(line) : line);
  }
  const auto bytes = EncodeCp1252(writer.Text());
  if (!bytes) return SaveResult::Unencodable;
  return ReplaceFileAtomically(path, *bytes) ? SaveResult::Saved : SaveResult::WriteFailed;
}

}  // namespace valmerin
