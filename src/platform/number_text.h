#pragma once
// Numbers read back from our own text files: the whole field must be the number.
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace valmerin {

// The number `text` spells, with nothing before or after it ("5x" and "" are
// none); a sign only where the type has one.
template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace valmerin
