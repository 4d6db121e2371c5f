#pragma once
// The player's own figures per game: favourite or not, how often and how long it
// was played, when it was last started. Kept in one record file, keyed by emulator
// and game file name (a description may change, the file name stays), so a game
// whose file has gone keeps its record for when the file comes back.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/emulator_table.h"
#include "catalogue/game_list.h"
#include "catalogue/record_file.h"

namespace valmerin {

inline constexpr std::string_view kPlayRecordsFile = "Partite.emu";

// A run shorter than this is a start that failed or was closed at once, not a game.
inline constexpr std::uint64_t kShortestPlayMilliseconds = 10000;

// 31/12/9999 23:59:59 UTC: no last start lies after it and no game was played for
// longer, so a record beyond it is damage, not a date or a time to show.
inline constexpr std::int64_t kLatestPlaySecond = 253402300799;

struct PlayRecord {
  bool favourite = false;
  std::uint32_t plays = 0;
  std::uint64_t seconds = 0;   // awake time the emulator ran
  std::int64_t lastStart = 0;  // seconds since 1970 (UTC); 0 for never
  bool Empty() const { return !favourite && plays == 0 && seconds == 0 && lastStart == 0; }
};

// When a game was started: the wall clock for "last played", the awake clock for
// the time counted.
struct PlayStart {
  std::int64_t wallSeconds = 0;
  std::uint64_t awakeMilliseconds = 0;
};

class PlayRecords {
 public:
  const PlayRecord* Find(Emulator emulator, std::string_view file) const;
  bool Favourite(Emulator emulator, std::string_view file) const {
    const PlayRecord* record = Find(emulator, file);
    return record != nullptr && record->favourite;
  }
  // Whether a record under this file name reads back from the file unchanged.
  static bool Storable(std::string_view file);

  // Each returns false and changes nothing when the name cannot be stored.
  bool SetFavourite(Emulator emulator, std::string_view file, bool favourite);
  // A run counts as a game when it lasted long enough by the awake clock.
  bool CountRun(Emulator emulator, std::string_view file, const PlayStart& start,
                std::uint64_t awakeMillisecondsAtEnd);
  // Plays, time and last start forgotten; the favourite mark stays.
  void ResetFigures(Emulator emulator, std::string_view file);

  std::size_t size() const;
  // The file's text: known records, then the lines this version could not read,
  // kept as they were so nothing of the file is lost.
  RecordWriter Write() const;
  // Reads a file's text; lines that are not a record are kept aside for Write.
  static PlayRecords Parse(std::string_view utf8Text);

 private:
  PlayRecord* Slot(Emulator emulator, std::string_view file);
  // Hashed, looked up by a view of the name: a view of a large list asks once per entry.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  using Games = std::unordered_map<std::string, PlayRecord, NameHash, std::equal_to<>>;
  std::array<Games, kEmulatorCount> games_;
  std::vector<std::string> unknownLines_;
};

struct LoadedPlayRecords {
  PlayRecords records;
  // False when the file is there but could not be read: it is then never written.
  bool writable = true;
};
LoadedPlayRecords ReadPlayRecords();
SaveOutcome SavePlayRecords(const PlayRecords& records);

// The entries of `list` to show, in order: `matched` (entries in list order, the
// filter's answer) or every entry; only favourites when asked; with `recentFirst`
// the games played most recently come first and the others follow in list order.
std::vector<std::uint32_t> PlayView(const GameList& list, Emulator emulator,
                                    const PlayRecords& records,
                                    const std::vector<std::uint32_t>* matched, bool favouritesOnly,
                                    bool recentFirst);

// "Ultima partita: <when>; 12 partite, 3 h 40 min"; empty for a game never played.
std::string PlaySummary(const PlayRecord& record, std::string_view lastStartText);

}  // namespace valmerin
