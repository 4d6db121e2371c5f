#include "hosting/executable_kind.h"

#include <cstdint>
#include <fstream>

namespace valmerin {

namespace {

std::uint32_t Little(const unsigned char* bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

}  // namespace

ExecutableHeader ReadExecutableHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  unsigned char header[0x40] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  const std::streamsize got = in.gcount();
  if (got < 2 || header[0] != 'M' || header[1] != 'Z') return {};
  if (got < static_cast<std::streamsize>(sizeof header)) return {ExecutableKind::kDos, {}};

  in.clear();
  in.seekg(Little(header + 0x3C, 4));
  unsigned char signature[6] = {};
  in.read(reinterpret_cast<char*>(signature), sizeof signature);
  if (in.gcount() < 2) return {ExecutableKind::kDos, {}};
  const bool pe = in.gcount() >= 4 && signature[0] == 'P' && signature[1] == 'E' &&
                  signature[2] == '\0' && signature[3] == '\0';
  // 16-bit Windows programs run under Wine too; in DOSBox they would only say
  // that they need Windows.
  if (signature[0] == 'N' && signature[1] == 'E')
    return {ExecutableKind::kWindows, WindowsBits::k16};
  if (!pe) return {ExecutableKind::kDos, {}};
  // i386 and 32-bit ARM need 32-bit Wine; x86-64 and ARM64 do not.
  const std::uint32_t machine = Little(signature + 4, 2);
  const bool wide = machine == 0x8664 || machine == 0xAA64;
  return {ExecutableKind::kWindows, wide ? WindowsBits::k64 : WindowsBits::k32};
}

}  // namespace valmerin
