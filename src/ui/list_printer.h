#pragma once
// The printed game lists: the export's blocks, cut into pages that fit the
// printer's page, each page numbered at its foot.
#include <QFont>
#include <QString>
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

// Whether `printer` has somewhere to print: a printer of the system, or a file
// named for it. Qt falls back to an unnamed PDF file when no printer is installed.
bool HasDestination(const QPrinter& printer);

// Why printing on `printer` failed, for the user: the printer or file, and what
// the system answered.
QString PrintFailure(const QPrinter& printer);

}  // namespace valmerin
