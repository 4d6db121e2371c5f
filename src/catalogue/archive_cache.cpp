#include "catalogue/archive_cache.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

// The first line names the layout: a file of another layout is not read at all.
constexpr std::string_view kHeader = "Valmerin archivi 1";

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

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
    int emulator = 0;
    Record record;
    if (count != 5 || !ParseNumber(fields[0], emulator) || emulator < 0 || emulator > 3 ||
        !ParseNumber(fields[1], record.stamp.size) || !ParseNumber(fields[2], record.stamp.time) ||
        !IsValidUtf8(fields[3]) || !IsValidUtf8(fields[4])) {
      cache.changed_ = true;
      continue;
    }
    record.game = std::string(fields[4]);
    cache.records_.insert_or_assign(KeyOf(emulator, fields[3]), std::move(record));
  }
  if (position != bytes.size()) cache.changed_ = true;
  return cache;
}

const std::string* ArchiveCache::Find(int emulator, const std::string& path,
                                      const ArchiveStamp& stamp) const {
  key_.assign(1, static_cast<char>('0' + emulator));
  key_ += '\t';
  key_ += path;
  const auto found = records_.find(key_);
  if (found == records_.end() || !(found->second.stamp == stamp)) return nullptr;
  found->second.used = true;
  return &found->second.game;
}

void ArchiveCache::Remember(int emulator, const std::string& path, const ArchiveStamp& stamp,
                            std::string game) {
  if (!Storable(path) || !Storable(game)) return;
  Record& record = records_[KeyOf(emulator, path)];
  record.stamp = stamp;
  record.game = std::move(game);
  record.used = true;
  changed_ = true;
}

void ArchiveCache::ForgetUnused() {
  changed_ |= std::erase_if(records_, [](const auto& item) { return !item.second.used; }) > 0;
}

std::string ArchiveCache::Serialize() const {
  // Sorted, so one set of archives always gives the same bytes.
  std::vector<const std::pair<const std::string, Record>*> sorted;
  sorted.reserve(records_.size());
  for (const auto& item : records_) sorted.push_back(&item);
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->first < b->first; });
  std::string text(kHeader);
  text += "\r\n";
  for (const auto* item : sorted) {
    const std::string& key = item->first;
    text += key.substr(0, 2);
    text += std::to_string(item->second.stamp.size);
    text += '\t';
    text += std::to_string(item->second.stamp.time);
    text += '\t';
    text += std::string_view(key).substr(2);
    text += '\t';
    text += item->second.game;
    text += "\r\n";
  }
  return text;
}

void ArchiveCache::SaveIfChanged() const {
  if (!changed_) return;
  ReplaceFileAtomically(CurrentFolderFileForWriting(kArchiveCacheFile), Serialize());
}

}  // namespace valmerin
