#pragma once
// The live filter over a game list: an entry matches when its shown text contains
// what was typed, letter case and accents ignored ("citta" finds "Città").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/game_list.h"

namespace valmerin {

// Lower case without accents: "Città Œuvre" gives "citta oeuvre". Letters outside
// Windows-1252 keep their own form; combining accents are dropped.
std::string FoldForFilter(std::string_view text);

class GameFilter {
 public:
  // Folds every shown text once, so a key press only searches.
  void Prepare(const GameList& list);
  // Whether Prepare ran on this list as it is now.
  bool PreparedFor(const GameList& list) const {
    return list_ == &list && generation_ == list.Generation();
  }

  // The entries (in list order) whose shown text contains `typed`.
  std::vector<std::uint32_t> Match(std::string_view typed) const;
  // The same, looking only at `within`: what a longer text leaves of a shorter one's answer.
  std::vector<std::uint32_t> Narrow(std::string_view typed,
                                    const std::vector<std::uint32_t>& within) const;

 private:
  std::string keys_;                   // every folded text, each followed by a 0 byte
  std::vector<std::uint32_t> starts_;  // where each entry's key starts
  const GameList* list_ = nullptr;
  std::uint64_t generation_ = 0;
};

}  // namespace valmerin
