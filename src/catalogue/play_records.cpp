#include "catalogue/play_records.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/number_text.h"
#include "platform/text_codec.h"

namespace valmerin {
namespace {

constexpr std::size_t kFieldsPerRecord = 6;

std::optional<Emulator> EmulatorNamed(std::string_view name) {
  for (const EmulatorInfo& info : EmulatorTable()) {
    if (info.name == name) return info.emulator;
  }
  return std::nullopt;
}

// Counts and times: digits only, no sign.
template <typename Number>
std::optional<Number> WholeNumber(std::string_view text) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  return ParseWhole<Number>(text);
}

// A name goes between quotes when it can; a name holding a quote goes bare, which
// the reader takes up to the next comma.
bool FitsBare(std::string_view file) { return !file.empty() && PlainLineReadsBack(file); }

}  // namespace

const PlayRecord* PlayRecords::Find(Emulator emulator, std::string_view file) const {
  const auto& games = games_[static_cast<std::size_t>(IndexOf(emulator))];
  const auto found = games.find(file);
  return found == games.end() ? nullptr : &found->second;
}

bool PlayRecords::Storable(std::string_view file) {
  return !file.empty() && (TextReadsBack(file) || FitsBare(file));
}

PlayRecord* PlayRecords::Slot(Emulator emulator, std::string_view file) {
  if (!Storable(file)) return nullptr;
  auto& games = games_[static_cast<std::size_t>(IndexOf(emulator))];
  auto found = games.find(file);
  if (found == games.end()) found = games.emplace(std::string(file), PlayRecord{}).first;
  return &found->second;
}

bool PlayRecords::SetFavourite(Emulator emulator, std::string_view file, bool favourite) {
  if (!favourite && !Find(emulator, file)) return true;
  PlayRecord* record = Slot(emulator, file);
  if (record == nullptr) return false;
  record->favourite = favourite;
  if (record->Empty()) games_[static_cast<std::size_t>(IndexOf(emulator))].erase(std::string(file));
  return true;
}

bool PlayRecords::CountRun(Emulator emulator, std::string_view file, const PlayStart& start,
                           std::uint64_t awakeMillisecondsAtEnd) {
  if (awakeMillisecondsAtEnd < start.awakeMilliseconds + kShortestPlayMilliseconds) return false;
  PlayRecord* record = Slot(emulator, file);
  if (record == nullptr) return false;
  if (record->plays < std::numeric_limits<std::uint32_t>::max()) ++record->plays;
  // Held within what the file reads back, so a record is never lost to its figures.
  constexpr auto kLatest = static_cast<std::uint64_t>(kLatestPlaySecond);
  const std::uint64_t added = (awakeMillisecondsAtEnd - start.awakeMilliseconds + 500) / 1000;
  record->seconds = kLatest - record->seconds < added ? kLatest : record->seconds + added;
  record->lastStart = std::min(std::max(record->lastStart, start.wallSeconds), kLatestPlaySecond);
  return true;
}

void PlayRecords::ResetFigures(Emulator emulator, std::string_view file) {
  auto& games = games_[static_cast<std::size_t>(IndexOf(emulator))];
  const auto found = games.find(file);
  if (found == games.end()) return;
  found->second = PlayRecord{found->second.favourite};
  if (found->second.Empty()) games.erase(found);
}

std::size_t PlayRecords::size() const {
  std::size_t count = 0;
  for (const auto& games : games_) count += games.size();
  return count;
}

RecordWriter PlayRecords::Write() const {
  RecordWriter writer;
  for (const EmulatorInfo& info : EmulatorTable()) {
    // Sorted by name, so a file that did not change is written the same.
    std::vector<const Games::value_type*> sorted;
    for (const auto& game : games_[static_cast<std::size_t>(info.tabIndex)])
      sorted.push_back(&game);
    std::sort(sorted.begin(), sorted.end(), [](auto a, auto b) { return a->first < b->first; });
    for (const auto* game : sorted) {
      const auto& [file, record] = *game;
      std::string line = "\"" + std::string(info.name) + "\",";
      line += TextReadsBack(file) ? "\"" + file + "\"" : file;
      line += record.favourite ? ",#TRUE#," : ",#FALSE#,";
      line += std::to_string(record.plays) + "," + std::to_string(record.seconds) + "," +
              std::to_string(record.lastStart);
      writer.WritePlainLine(line);
    }
  }
  for (const std::string& line : unknownLines_) writer.WritePlainLine(line);
  return writer;
}

PlayRecords PlayRecords::Parse(std::string_view text) {
  PlayRecords records;
  while (!text.empty()) {
    // A plain loop: find_first_of asks memchr about every character.
    const auto at =
        std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; });
    const std::size_t end =
        at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    FieldReader reader{std::string(line)};
    std::array<std::string_view, kFieldsPerRecord> fields;
    bool whole = true;
    for (std::string_view& field : fields) whole = whole && reader.ReadFieldText(field);
    std::string_view extra;
    whole = whole && !reader.ReadFieldText(extra);
    const auto emulator = whole ? EmulatorNamed(fields[0]) : std::nullopt;
    const auto plays = whole ? WholeNumber<std::uint32_t>(fields[3]) : std::nullopt;
    const auto seconds = whole ? WholeNumber<std::uint64_t>(fields[4]) : std::nullopt;
    const auto lastStart = whole ? WholeNumber<std::int64_t>(fields[5]) : std::nullopt;
    const bool favourite = whole && fields[2] == "#TRUE#";
    const bool onCalendar = seconds && lastStart && *lastStart <= kLatestPlaySecond &&
                            *seconds <= static_cast<std::uint64_t>(kLatestPlaySecond);
    if (!emulator || fields[1].empty() || (!favourite && fields[2] != "#FALSE#") || !plays ||
        !onCalendar) {
      records.unknownLines_.emplace_back(line);
      continue;
    }
    records.games_[static_cast<std::size_t>(IndexOf(*emulator))][std::string(fields[1])] =
        PlayRecord{favourite, *plays, *seconds, *lastStart};
  }
  return records;
}

LoadedPlayRecords ReadPlayRecords() {
  const auto path = FindInCurrentFolder(kPlayRecordsFile);
  if (!path) return {};
  ReadResult read = ReadFileBytes(*path);
  if (!read.bytes) return {{}, read.error != FileError::Unreadable};
  return {PlayRecords::Parse(DecodeCp1252(*read.bytes)), true};
}

SaveOutcome SavePlayRecords(const PlayRecords& records) {
  return SaveCurrentFolderFile(kPlayRecordsFile, records.Write());
}

std::vector<std::uint32_t> PlayView(const GameList& list, Emulator emulator,
                                    const PlayRecords& records,
                                    const std::vector<std::uint32_t>* matched, bool favouritesOnly,
                                    bool recentFirst) {
  std::vector<std::uint32_t> rows;
  if (matched) {
    rows = *matched;
  } else {
    rows.resize(list.size());
    std::iota(rows.begin(), rows.end(), 0u);
  }
  if (favouritesOnly) {
    std::erase_if(
        rows, [&](std::uint32_t entry) { return !records.Favourite(emulator, list.File(entry)); });
  }
  if (recentFirst) {
    std::vector<std::pair<std::int64_t, std::uint32_t>> played;
    std::vector<std::uint32_t> rest;
    for (const std::uint32_t entry : rows) {
      const PlayRecord* record = records.Find(emulator, list.File(entry));
      if (record != nullptr && record->lastStart > 0) {
        played.emplace_back(record->lastStart, entry);
      } else {
        rest.push_back(entry);
      }
    }
    // Latest first; one time shared keeps list order.
    std::stable_sort(played.begin(), played.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    rows.clear();
    for (const auto& [when, entry] : played) rows.push_back(entry);
    rows.insert(rows.end(), rest.begin(), rest.end());
  }
  return rows;
}

std::string PlaySummary(const PlayRecord& record, std::string_view lastStartText) {
  if (record.lastStart == 0) return {};
  std::string text = "Ultima partita: " + std::string(lastStartText) + "; ";
  text += std::to_string(record.plays) + (record.plays == 1 ? " partita, " : " partite, ");
  const std::uint64_t minutes = record.seconds / 60;
  if (minutes >= 60) {
    text += std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min";
  } else if (record.seconds < 60) {
    text += "meno di 1 min";
  } else {
    text += std::to_string(minutes) + " min";
  }
  return text;
}

}  // namespace valmerin
