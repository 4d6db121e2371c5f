#pragma once
// The "Compila lista" file: the four lists as shown, written whole at a path the
// user chose.
#include <filesystem>

#include "catalogue/game_list_export.h"
#include "catalogue/record_file.h"

namespace valmerin {

// Replaces the file atomically; Unencodable when a line holds a character the
// code page cannot hold (nothing is written then).
// With `unknownAsQuestionMarks` such characters are written as "?" instead.
SaveResult WriteGameListFile(const std::filesystem::path& path, const GameLists& lists,
                             bool unknownAsQuestionMarks = false);

}  // namespace valmerin
