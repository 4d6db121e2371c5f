#pragma once
// The names a launch reserves in an emulator folder: the game copy ("Gioco." and
// the game's last three characters), the game's own files lent under the copy's
// stem ("Gioco.srm"), and their temporaries. Nothing at such a name is a game of
// the user's list.
#include <string>
#include <string_view>

#include "catalogue/emulator_table.h"

namespace valmerin {

inline constexpr std::string_view kCopyStem = "Gioco.";

// "Gioco." and the last three characters of the game's name.
std::string CopyNameFor(std::string_view gameName);

// "Gioco." and three characters, letter case ignored, or a temporary of one. (The
// copy of a game of one or two characters is shorter, and such a name is left to
// the user: "gioco.1" may well be a game.)
bool IsCopyName(std::string_view fileName);

// The name up to its last dot ("Alfa" for "Alfa.smc"; the whole name without one).
std::string_view StemOf(std::string_view fileName);

// Whether `fileName` is `stem` + "." + something, letter case ignored: one of the
// files an emulator keeps for the game it was given under that stem.
bool HasStem(std::string_view fileName, std::string_view stem);

// Whether the name matches one of the emulator's game patterns or is a .zip or .7z
// archive, which the list holds as a game too: a game, never one of a game's own files.
bool IsGameName(Emulator emulator, std::string_view fileName);

}  // namespace valmerin
