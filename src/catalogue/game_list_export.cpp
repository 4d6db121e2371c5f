#include "catalogue/game_list_export.h"

#include <algorithm>

#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "platform/utf8.h"

namespace valmerin {

std::vector<std::string> PrintLinesFor(Emulator emulator, const GameList& entries) {
  const std::string_view title = InfoOf(emulator).name;
  std::vector<std::string> lines;
  lines.reserve(entries.size() + 3);
  lines.emplace_back(title);
  lines.emplace_back(title.size(), '-');
  lines.emplace_back();
  for (std::size_t i = 0; i < entries.size(); ++i) lines.emplace_back(entries.Shown(i));
  return lines;
}

std::vector<std::string> ExportLines(const GameLists& lists) {
  std::vector<std::string> lines = {"Lista ROMs - creata con valmerin"};
  for (Emulator emulator : kTabOrder) {
    lines.emplace_back();
    auto block = PrintLinesFor(emulator, lists[IndexOf(emulator)]);
    lines.insert(lines.end(), std::make_move_iterator(block.begin()),
                 std::make_move_iterator(block.end()));
  }
  return lines;
}

std::vector<std::string> EntriesOutsideCodePage(const GameLists& lists) {
  std::vector<std::string> entries;
  for (Emulator emulator : kTabOrder) {
    const GameList& list = lists[IndexOf(emulator)];
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (FitsCp1252(list.Shown(i))) continue;
      entries.push_back(std::string(InfoOf(emulator).name) + ": " + std::string(list.Shown(i)));
    }
  }
  return entries;
}

std::string WithUnknownLettersAsQuestionMarks(std::string_view text) {
  if (FitsCp1252(text)) return std::string(text);
  std::string shown;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (!NextCodePoint(text, pos)) {
      shown += '?';  // a byte that is no letter at all
      ++pos;
      continue;
    }
    const std::string_view letter = text.substr(start, pos - start);
    if (FitsCp1252(letter)) {
      shown += letter;
    } else {
      shown += '?';
    }
  }
  return shown;
}

std::vector<std::vector<std::string>> Paginate(const std::vector<std::string>& lines,
                                               int linesPerPage) {
  const std::size_t perPage = static_cast<std::size_t>(std::max(linesPerPage, 1));
  std::vector<std::vector<std::string>> pages;
  for (std::size_t i = 0; i < lines.size(); i += perPage) {
    const std::size_t end = std::min(lines.size(), i + perPage);
    pages.emplace_back(lines.begin() + i, lines.begin() + end);
  }
  if (pages.empty()) pages.emplace_back();
  return pages;
}

SaveOutcome WriteGameListFile(const std::filesystem::path& path, const GameLists& lists,
                              bool unknownAsQuestionMarks) {
  RecordWriter writer;
  for (const std::string& line : ExportLines(lists)) {
    writer.WritePlainLine(unknownAsQuestionMarks ? WithUnknownLettersAsQuestionMarks(line) : line);
  }
  const auto bytes = EncodeCp1252(writer.Text());
  if (!bytes) return {SaveResult::Unencodable, FileError::None};
  if (const FileResult written = ReplaceFileAtomically(path, *bytes); !written) {
    return {SaveResult::WriteFailed, written.error};
  }
  return {};
}

}  // namespace valmerin
