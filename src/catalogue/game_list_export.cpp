#include "catalogue/game_list_export.h"

#include <algorithm>

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

}  // namespace valmerin
