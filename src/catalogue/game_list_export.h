#pragma once
// The exported game list and the printed pages share one layout: per emulator a
// title, its underline and the entries as shown.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/emulator_table.h"
#include "catalogue/game_list.h"
#include "catalogue/record_file.h"

namespace valmerin {

// The lines of the export file, header first.
std::vector<std::string> ExportLines(const GameLists& lists);
// One emulator's block: title, underline, empty line, entries.
std::vector<std::string> PrintLinesFor(Emulator emulator, const GameList& entries);

// The entries Windows-1252 cannot hold, each as "Emulator: text", in export order.
std::vector<std::string> EntriesOutsideCodePage(const GameLists& lists);
// The text with every character Windows-1252 cannot hold shown as "?".
std::string WithUnknownLettersAsQuestionMarks(std::string_view text);

// Writes the "Compila lista" file, the export lines, at a path the user chose,
// replacing it atomically. Unencodable when a line holds a character the code page
// cannot hold, unless `unknownAsQuestionMarks` writes those as "?"; nothing is
// written then, nor when the write fails (the outcome says why).
SaveOutcome WriteGameListFile(const std::filesystem::path& path, const GameLists& lists,
                              bool unknownAsQuestionMarks = false);

// Cuts lines into pages of at most `linesPerPage` lines (at least one page).
std::vector<std::vector<std::string>> Paginate(const std::vector<std::string>& lines,
                                               int linesPerPage);

}  // namespace valmerin
