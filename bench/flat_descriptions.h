#pragma once
// A candidate layout for the description records, measured beside the program's
// own: every text in one buffer, and per side (keys, descriptions) one flat hash
// table of distinct texts whose records sit in ascending runs of one array. Same
// walks, same results; a handful of allocations instead of several per record.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valmerin::bench {

class FlatDescriptions {
 public:
  void Add(std::string_view key, std::string_view text);
  // After the last Add; walks before it see no records.
  void BuildIndex();

  std::size_t Count() const { return starts_.size() / 2; }
  std::string_view Key(std::size_t i) const { return Field(2 * i); }
  std::string_view Text(std::size_t i) const { return Field(2 * i + 1); }

  std::string ResolveGameName(std::string_view fileName) const;
  std::string WalkBackToFileName(std::string_view shownText) const;

  std::size_t BytesReserved() const;

 private:
  struct Index {
    std::vector<std::uint32_t> slots;     // distinct text number + 1; 0 is free
    std::vector<std::uint32_t> runStart;  // per distinct text, its run in `records`
    std::vector<std::uint32_t> records;   // record numbers, grouped, ascending per group
  };
  std::string_view Field(std::size_t f) const {
    const std::size_t end = f + 1 < starts_.size() ? starts_[f + 1] : pool_.size();
    return std::string_view(pool_).substr(starts_[f], end - starts_[f]);
  }
  void Build(Index& index, int side);
  std::span<const std::uint32_t> Find(const Index& index, int side, std::string_view text) const;

  std::string pool_;
  std::vector<std::uint32_t> starts_;  // key, text, key, text ... offsets into pool_
  Index byKey_;
  Index byText_;
};

// ReadDescriptions into the candidate layout (same file, same field reader).
FlatDescriptions ReadFlatDescriptions();

}  // namespace valmerin::bench
