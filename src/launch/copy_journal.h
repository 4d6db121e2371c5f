#pragma once
// The runs whose files are out under the copy's name, kept in a small file of the
// data folder and rewritten before each file appears, so that the next start can
// finish what a killed run left and never takes a file of ours for the user's.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error.h"

namespace valmerin {

inline constexpr std::string_view kCopyJournalFile = "Copie.valmerin";

// A game file lent to the emulator under the copy's stem.
struct LentFile {
  std::string path;      // "…/Gioco.srm"
  std::string original;  // "…/Alfa.srm", left untouched while the emulator runs
  std::string identity;  // of the lent copy as we made it (FileIdentity)
};

// One launch. Paths are absolute host paths in UTF-8.
struct JournalRun {
  int emulator = 0;          // tab order
  std::int64_t started = 0;  // seconds since the epoch: what is newer, the emulator wrote
  std::string copy;          // the game copy, named before it appears
  std::string game;          // the game it stands for
  std::string identity;      // of the copy, once made (device:number first, then the change time)
  std::vector<std::string> folders;  // where the emulator keeps the game's files
  std::vector<LentFile> lent;
};

std::vector<JournalRun> ReadCopyJournal();
// The file goes when nothing is out.
FileResult WriteCopyJournal(const std::vector<JournalRun>& runs);

}  // namespace valmerin
