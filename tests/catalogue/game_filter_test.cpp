#include "catalogue/game_filter.h"

#include <gtest/gtest.h>

namespace valmerin {
namespace {

using Rows = std::vector<std::uint32_t>;

TEST(GameFilterTest, MatchesAnyPartOfTheShownTextIgnoringCaseAndAccents) {
  GameList list;
  for (const char* shown : {"Città Sommersa", "CITTADELLA", "Mario.smc", "Œuvre Noire", "Šahovnica",
                            "Cafe\xcc\x81 Racer", "Cafè", "Citt\xe0.NES", "日本の城"}) {
    list.Add(std::string("f") + shown, shown);
  }
  GameFilter filter;
  filter.Prepare(list);
  const struct {
    const char* typed;
    Rows rows;
  } cases[] = {
      {"", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"citta", {0, 1}},  // the stray Windows-1252 byte is no "a"
      {"CITTÀ", {0, 1}},
      {"à s", {0}},
      {"o.s", {2}},     // what is typed is plain text, no pattern
      {"oeuvre", {3}},  // Œ stands for both letters
      {"sah", {4}},
      {"cafe", {5, 6}},  // a combining accent is dropped as well
      {"\xe0", {7}},     // the stray byte finds itself
      {"の城", {8}},
      {"sommersa cittadella", {}},  // no hit spans two entries
      {"x", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(filter.Match(c.typed), c.rows);
    // Narrowing the answer of every shorter start gives the same answer.
    const std::string typed = c.typed;
    for (std::size_t n = 0; n < typed.size(); ++n) {
      if ((static_cast<unsigned char>(typed[n]) & 0xC0) == 0x80) continue;  // mid-letter
      EXPECT_EQ(filter.Narrow(typed, filter.Match(typed.substr(0, n))), c.rows) << n;
    }
  }
  EXPECT_TRUE(filter.PreparedFor(list));
  list.ReplaceShown("Mario.smc", "Super Mario");
  EXPECT_FALSE(filter.PreparedFor(list));  // a changed list is folded again
}

}  // namespace
}  // namespace valmerin
