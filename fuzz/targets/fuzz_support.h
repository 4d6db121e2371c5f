#pragma once
// What every fuzz target shares: how a broken property is reported, and the files
// a target makes in the current folder, which the harness has made a scratch folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace valmerin::fuzz {

// The libFuzzer entry turns this into a crash; the corpus replay into a test failure.
struct PropertyBroken : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline void Require(bool holds, const char* what) {
  if (!holds) throw PropertyBroken(what);
}

inline std::string_view AsBytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline void WriteFileBytes(std::string_view name, std::string_view bytes) {
  std::ofstream out(std::filesystem::path(name), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::optional<std::string> ReadFileBytes(std::string_view name) {
  std::ifstream in(std::filesystem::path(name), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Removes the named files and the temporaries an interrupted write may have left.
inline void RemoveFiles(std::initializer_list<std::string_view> names) {
  std::error_code ignored;
  for (std::string_view name : names) {
    std::filesystem::remove(std::filesystem::path(name), ignored);
    std::filesystem::remove(std::filesystem::path(std::string(name) + ".valmerin-tmp"), ignored);
  }
}

}  // namespace valmerin::fuzz
