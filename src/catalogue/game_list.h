#pragma once
// One emulator's game list: per entry the text shown and the file it was made
// from, the texts packed into blocks with offsets per entry, so a hundred thousand
// games cost a few allocations and an entry's file never has to be guessed back
// from what it shows. Blocks and entries only ever grow in place: a buffer that
// doubles leaves its old copies behind as heap holes the process keeps resident.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/emulator_table.h"

namespace valmerin {

class GameList {
 public:
  // An entry that shows its own file name keeps the name once.
  void Add(std::string_view file, std::string_view shown);
  void clear();
  // Takes the entries of `other`; unlike a plain assignment it counts as a change.
  void Replace(GameList&& other);

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  std::string_view Shown(std::size_t i) const {
    return View(entries_[i].shown, entries_[i].shownSize);
  }
  std::string_view File(std::size_t i) const {
    return View(entries_[i].file, entries_[i].fileSize);
  }
  // The first entry made from exactly this file name.
  std::optional<std::size_t> FindFile(std::string_view file) const;
  // Every entry showing `from` shows `to` instead (a new description record).
  // Returns how many changed.
  std::size_t ReplaceShown(std::string_view from, std::string_view to);

  // Goes up at every change, so what was derived from the entries knows when to
  // derive again.
  std::uint64_t Generation() const { return generation_; }

  // Same files showing the same texts, in the same order.
  bool SameEntries(const GameList& other) const;

 private:
  struct Entry {
    std::uint32_t file;
    std::uint32_t shown;
    std::uint32_t fileSize;
    std::uint32_t shownSize;
  };
  static constexpr std::uint32_t kBlockBits = 16;
  static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
  // A position is block number and offset in it; a text longer than a block gets a
  // block of its own.
  std::string_view View(std::uint32_t position, std::uint32_t size) const {
    return {blocks_[position >> kBlockBits].get() + (position & (kBlockSize - 1)), size};
  }
  std::uint32_t Append(std::string_view text);

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = kBlockSize;  // in the last block; full when there is none
  std::deque<Entry> entries_;
  std::uint64_t generation_ = 0;
};

// List1, List2, List3, List6, in tab order.
using GameLists = std::array<GameList, kEmulatorCount>;

}  // namespace valmerin
