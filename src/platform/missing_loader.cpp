#include "platform/missing_loader.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <system_error>

namespace valmerin {
namespace fs = std::filesystem;

namespace {

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
  T value{};
  if (offset + sizeof value <= bytes.size())
    std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// The PT_INTERP of a little-endian ELF file whose headers lie in `bytes`.
std::optional<std::string> ElfInterpreter(const std::string& bytes, bool is64) {
  const std::uint64_t table =
      is64 ? At<std::uint64_t>(bytes, 0x20) : At<std::uint32_t>(bytes, 0x1C);
  const std::uint16_t entrySize = At<std::uint16_t>(bytes, is64 ? 0x36 : 0x2A);
  const std::uint16_t count = At<std::uint16_t>(bytes, is64 ? 0x38 : 0x2C);
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint64_t entry = table + std::uint64_t{i} * entrySize;
    if (entry + entrySize > bytes.size()) break;
    if (At<std::uint32_t>(bytes, entry) != 3) continue;  // PT_INTERP
    const std::uint64_t offset =
        is64 ? At<std::uint64_t>(bytes, entry + 8) : At<std::uint32_t>(bytes, entry + 4);
    const std::uint64_t size =
        is64 ? At<std::uint64_t>(bytes, entry + 32) : At<std::uint32_t>(bytes, entry + 16);
    if (offset >= bytes.size() || size == 0 || size > 4096) return std::nullopt;
    std::string path = bytes.substr(offset, size);
    path.resize(std::strlen(path.c_str()));
    return path;
  }
  return std::nullopt;
}

}  // namespace

std::optional<MissingLoader> MissingLoaderOf(const fs::path& program) {
  std::ifstream in(program, std::ios::binary);
  std::string head(65536, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  MissingLoader missing;
  if (head.starts_with("#!")) {
    std::string_view line = std::string_view(head).substr(2);
    line = line.substr(0, line.find('\n'));
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    line.remove_prefix(start);
    missing.path = std::string(line.substr(0, line.find_first_of(" \t\r")));
  } else if (head.starts_with("\x7f"
                              "ELF") &&
             head.size() > 0x40 && head[5] == 1) {
    missing.kind = head[4] == 1 ? MissingLoader::Kind::Loader32 : MissingLoader::Kind::Loader;
    std::optional<std::string> interpreter = ElfInterpreter(head, head[4] == 2);
    if (!interpreter) return std::nullopt;
    missing.path = std::move(*interpreter);
  } else {
    return std::nullopt;
  }
  std::error_code ec;
  if (missing.path.empty() || fs::exists(missing.path, ec)) return std::nullopt;
  return missing;
}

}  // namespace valmerin
