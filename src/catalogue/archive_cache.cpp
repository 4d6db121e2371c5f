#include "catalogue/archive_cache.h"

#include <algorithm>
#include <vector>

#include "catalogue/emulator_table.h"
#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/number_text.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

// The first line names the layout: a file of another layout is not read at all.
constexpr std::string_view kHeader = "Valmerin archivi 1";

// Names are kept as UTF-8: a name the tab, CR or LF would split is not kept at all.
bool Storable(std::string_view text) {
  return text.find_first_of("\t\r\n") == std::string_view::npos && IsValidUtf8(text);
}

}  // namespace

std::string ArchiveCache::KeyOf(int emulator, std::string_view path) {
  std::string key(1, static_cast<char>('0' + emulator));
  key += '\t';
  key += path;
  return key;
}

ArchiveCache ArchiveCache::Load() {
  const std::optional<std::filesystem::path> path = FindInCurrentFolder(kArchiveCacheFile);
  if (!path) return {};
  const std::optional<std::string> bytes = ReadWholeFile(*path);
  if (!bytes) return {};
  return Parse(*bytes);
}

ArchiveCache ArchiveCache::Parse(std::string_view bytes) {
  ArchiveCache cache;
  std::size_t position = 0;
  const auto nextLine = [&](std::string_view& line) {
    const std::size_t end = bytes.find("\r\n", position);
    if (end == std::string_view::npos) return false;  // a line cut short is not trusted
    line = bytes.substr(position, end - position);
    position = end + 2;
    return true;
  };
  std::string_view line;
  if (!nextLine(line) || line != kHeader) {
    cache.changed_ = true;  // rebuilt from nothing, so written again
    return cache;
  }
  while (nextLine(line)) {
    std::string_view fields[5];
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < 5) {
      const std::size_t tab = count < 4 ? line.find('\t', start) : std::string_view::npos;
      if (count < 4 && tab == std::string_view::npos) break;
      fields[count++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
      start = tab + 1;
    }
    Record record;
    const auto number = ParseWhole<int>(fields[0]);
    const auto size = ParseWhole<decltype(record.stamp.size)>(fields[1]);
    const auto time = ParseWhole<decltype(record.stamp.time)>(fields[2]);
    if (count != 5 || !number || *number < 0 || *number >= kEmulatorCount || !size || !time ||
        !IsValidUtf8(fields[3]) || !IsValidUtf8(fields[4])) {
      cache.changed_ = true;
      continue;
    }
    record.stamp.size = *size;
    record.stamp.time = *time;
    record.key = KeyOf(*number, fields[3]);
    record.game = std::string(fields[4]);
    cache.records_.push_back(std::move(record));
  }
  if (position != bytes.size()) cache.changed_ = true;
  // Written sorted; a file put in another order by hand is sorted here, and of two
  // lines for one archive the later one stands.
  const auto byKey = [](const Record& a, const Record& b) { return a.key < b.key; };
  if (!std::is_sorted(cache.records_.begin(), cache.records_.end(), byKey)) {
    std::stable_sort(cache.records_.begin(), cache.records_.end(), byKey);
    cache.changed_ = true;
  }
  const auto sameKey = [](const Record& a, const Record& b) { return a.key == b.key; };
  if (std::adjacent_find(cache.records_.begin(), cache.records_.end(), sameKey) !=
      cache.records_.end()) {
    std::reverse(cache.records_.begin(), cache.records_.end());
    cache.records_.erase(std::unique(cache.records_.begin(), cache.records_.end(), sameKey),
                         cache.records_.end());
    std::reverse(cache.records_.begin(), cache.records_.end());
    cache.changed_ = true;
  }
  return cache;
}

ArchiveCache::Record* ArchiveCache::Locate(std::string_view key) const {
  if (next_ < records_.size() && records_[next_].key == key) return &records_[next_++];
  const auto found =
      std::lower_bound(records_.begin(), records_.end(), key,
                       [](const Record& r, std::string_view k) { return r.key < k; });
  if (found == records_.end() || found->key != key) return nullptr;
  next_ = static_cast<std::size_t>(found - records_.begin()) + 1;
  return &*found;
}

const std::string* ArchiveCache::Find(int emulator, const std::string& path,
                                      const ArchiveStamp& stamp) const {
  key_.assign(1, static_cast<char>('0' + emulator));
  key_ += '\t';
  key_ += path;
  Record* record = Locate(key_);
  if (record == nullptr || !(record->stamp == stamp)) return nullptr;
  record->used = true;
  return &record->game;
}

void ArchiveCache::Remember(int emulator, const std::string& path, const ArchiveStamp& stamp,
                            std::string game) {
  if (!Storable(path) || !Storable(game)) return;
  std::string key = KeyOf(emulator, path);
  Record* record = Locate(key);
  if (record == nullptr) record = &added_.emplace_back(Record{std::move(key), {}, {}, false});
  record->stamp = stamp;
  record->game = std::move(game);
  record->used = true;
  changed_ = true;
}

void ArchiveCache::ForgetUnused() {
  changed_ |= std::erase_if(records_, [](const Record& record) { return !record.used; }) > 0;
  next_ = 0;
}

std::string ArchiveCache::Serialize() const {
  // Sorted, so the next start finds the records in the order it asks for them.
  std::vector<const Record*> sorted;
  sorted.reserve(records_.size() + added_.size());
  for (const Record& record : records_) sorted.push_back(&record);
  for (const Record& record : added_) sorted.push_back(&record);
  std::sort(sorted.begin(), sorted.end(),
            [](const Record* a, const Record* b) { return a->key < b->key; });
  std::string text(kHeader);
  text += "\r\n";
  for (const Record* record : sorted) {
    text += std::string_view(record->key).substr(0, 2);
    text += std::to_string(record->stamp.size);
    text += '\t';
    text += std::to_string(record->stamp.time);
    text += '\t';
    text += std::string_view(record->key).substr(2);
    text += '\t';
    text += record->game;
    text += "\r\n";
  }
  return text;
}

void ArchiveCache::SaveIfChanged() const {
  if (!changed_) return;
  ReplaceFileAtomically(CurrentFolderFileForWriting(kArchiveCacheFile), Serialize());
}

}  // namespace valmerin
