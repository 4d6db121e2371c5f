#include "catalogue/game_list.h"

#include <algorithm>
#include <utility>

namespace valmerin {

std::uint32_t GameList::Append(std::string_view text) {
  const auto start = static_cast<std::uint32_t>(texts_.size());
  texts_ += text;
  return start;
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

void GameList::Reserve(std::size_t entries, std::size_t characters) {
  entries_.reserve(entries);
  texts_.reserve(characters);
}

void GameList::Seal() {
  if (texts_.capacity() > texts_.size() + texts_.size() / 4) texts_.shrink_to_fit();
  if (entries_.capacity() > entries_.size() + entries_.size() / 4) entries_.shrink_to_fit();
}

void GameList::clear() {
  texts_.clear();
  entries_.clear();
  ++generation_;
}

void GameList::Replace(GameList&& other) {
  texts_ = std::move(other.texts_);
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

std::vector<std::string> GameList::ShownTexts() const {
  std::vector<std::string> texts;
  texts.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) texts.emplace_back(Shown(i));
  return texts;
}

bool GameList::SameEntries(const GameList& other) const {
  if (size() != other.size()) return false;
  for (std::size_t i = 0; i < size(); ++i) {
    if (File(i) != other.File(i) || Shown(i) != other.Shown(i)) return false;
  }
  return true;
}

}  // namespace valmerin
