#include "catalogue/game_list.h"

#include <algorithm>
#include <utility>

namespace valmerin {

std::uint32_t GameList::Append(std::string_view text) {
  if (blocks_.empty() || text.size() > kBlockSize - used_) {
    blocks_.push_back(std::make_unique<char[]>(std::max(kBlockSize, text.size())));
    used_ = 0;
  }
  const auto position = static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) + used_);
  std::copy(text.begin(), text.end(), blocks_.back().get() + used_);
  used_ = std::min(kBlockSize, used_ + text.size());
  return position;
}

void GameList::Add(std::string_view file, std::string_view shown) {
  Entry entry{};
  entry.file = Append(file);
  entry.fileSize = static_cast<std::uint32_t>(file.size());
  entry.shown = shown == file ? entry.file : Append(shown);
  entry.shownSize = static_cast<std::uint32_t>(shown.size());
  entries_.push_back(entry);
  ++generation_;
}

void GameList::clear() {
  blocks_.clear();
  used_ = kBlockSize;
  entries_.clear();
  ++generation_;
}

void GameList::Replace(GameList&& other) {
  blocks_ = std::move(other.blocks_);
  used_ = other.used_;
  entries_ = std::move(other.entries_);
  generation_ = std::max(generation_, other.generation_) + 1;
}

std::optional<std::size_t> GameList::FindFile(std::string_view file) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (File(i) == file) return i;
  }
  return std::nullopt;
}

std::size_t GameList::ReplaceShown(std::string_view fromText, std::string_view toText) {
  // Either text may view into this list's own buffer, which the new text can move.
  const std::string from(fromText);
  const std::string to(toText);
  std::size_t changed = 0;
  std::optional<std::uint32_t> stored;  // one copy of the new text serves every entry
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (Shown(i) != from) continue;
    if (!stored) stored = Append(to);
    entries_[i].shown = *stored;
    entries_[i].shownSize = static_cast<std::uint32_t>(to.size());
    ++changed;
  }
  if (changed) ++generation_;
  return changed;
}

bool GameList::SameEntries(const GameList& other) const {
  if (size() != other.size()) return false;
  for (std::size_t i = 0; i < size(); ++i) {
    if (File(i) != other.File(i) || Shown(i) != other.Shown(i)) return false;
  }
  return true;
}

}  // namespace valmerin
