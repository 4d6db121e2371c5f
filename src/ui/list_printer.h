#pragma once
// The printed game lists: the export's blocks, cut into pages that fit the
// printer's page, each page numbered at its foot.
#include <QFont>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/game_list_export.h"

class QPrinter;

namespace valmerin {

// The lines to print: one emulator's block, or all four blocks one after the other.
std::vector<std::string> LinesToPrint(const GameLists& lists, std::optional<Emulator> only);

QFont PrintFont();

// How many text lines fit on one page of `printer`, the page number's line kept free.
int LinesPerPage(QPrinter& printer);

// Prints the lines; the number of pages printed, or nullopt when the printer
// could not be started.
std::optional<int> PrintLines(QPrinter& printer, const std::vector<std::string>& lines);

}  // namespace valmerin
