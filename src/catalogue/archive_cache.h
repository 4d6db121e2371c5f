#pragma once
// What the scan learnt about each archive, so an archive whose size and time have
// not changed is not opened again. The file is a cache: anything in it that does
// not read back cleanly is dropped, and the scan checks whatever it takes from it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive_reader.h"

namespace valmerin {

inline constexpr std::string_view kArchiveCacheFile = "Archivi.emu";

using ArchiveStamp = FileStamp;

class ArchiveCache {
 public:
  // The data folder's cache; empty when it is missing or damaged.
  static ArchiveCache Load();
  static ArchiveCache Parse(std::string_view bytes);

  // The game inside (empty: nothing for this emulator, or unreadable), when the
  // archive at `path` was seen with this stamp.
  const std::string* Find(int emulator, const std::string& path, const ArchiveStamp& stamp) const;
  void Remember(int emulator, const std::string& path, const ArchiveStamp& stamp, std::string game);
  // Keeps only what was looked up or remembered since Load: archives gone from
  // the folders leave the cache with them.
  void ForgetUnused();

  std::string Serialize() const;
  // Written whole and atomically, only when something changed; a failure only
  // costs the next start some time.
  void SaveIfChanged() const;

 private:
  struct Record {
    std::string key;  // emulator digit, tab, path
    ArchiveStamp stamp;
    std::string game;
    mutable bool used = false;
  };
  static std::string KeyOf(int emulator, std::string_view path);
  // The record of that key, or nullptr. The scan asks in name order, the order the
  // records are kept in, so the record after the last one found is tried first.
  Record* Locate(std::string_view key) const;

  mutable std::string key_;  // reused by Find, which runs once per archive
  mutable std::size_t next_ = 0;
  mutable std::vector<Record> records_;  // sorted by key
  std::vector<Record> added_;            // new this run, merged when written
  bool changed_ = false;
};

}  // namespace valmerin
