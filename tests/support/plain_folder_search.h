#pragma once
// The folder search's matching and order done the plain way, name by name: the
// reference the listing's faster paths (eight-byte heads, suffix tests) must agree
// with.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/utf8.h"

namespace valmerin::reference {

// "*" matches any run of characters; letters match without regard to case.
inline bool PlainMatches(std::string_view name, std::string_view pattern) {
  const std::string n = FoldedName(name);
  const std::string p = FoldedName(pattern);
  // matches[j]: whether the first i name characters match the first j pattern ones.
  std::vector<bool> matches(p.size() + 1, false);
  matches[0] = true;
  for (std::size_t j = 1; j <= p.size() && p[j - 1] == '*'; ++j) matches[j] = true;
  for (char c : n) {
    std::vector<bool> next(p.size() + 1, false);
    for (std::size_t j = 1; j <= p.size(); ++j) {
      next[j] = p[j - 1] == '*' ? next[j - 1] || matches[j] : matches[j - 1] && p[j - 1] == c;
    }
    matches = std::move(next);
  }
  return !p.empty() && matches[p.size()];
}

// Folded names in byte order, ties broken by the names as stored.
inline bool PlainNameLess(std::string_view a, std::string_view b) {
  const std::string keyA = FoldedName(a);
  const std::string keyB = FoldedName(b);
  return keyA != keyB ? keyA < keyB : a < b;
}

}  // namespace valmerin::reference
