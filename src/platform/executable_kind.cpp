#include "platform/executable_kind.h"

#include <cstdint>
#include <fstream>

namespace valmerin {

ExecutableKind KindOfExecutable(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  unsigned char header[0x40] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  const std::streamsize got = in.gcount();
  if (got < 2 || header[0] != 'M' || header[1] != 'Z') return ExecutableKind::kOther;
  if (got < static_cast<std::streamsize>(sizeof header)) return ExecutableKind::kDos;

  const std::uint32_t newHeader = header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 |
                                  static_cast<std::uint32_t>(header[0x3F]) << 24;
  in.clear();
  in.seekg(newHeader);
  char signature[4] = {};
  if (!in.read(signature, sizeof signature)) return ExecutableKind::kDos;
  const bool pe =
      signature[0] == 'P' && signature[1] == 'E' && signature[2] == '\0' && signature[3] == '\0';
  // 16-bit Windows programs run under Wine too; in DOSBox they would only say
  // that they need Windows.
  const bool ne = signature[0] == 'N' && signature[1] == 'E';
  return pe || ne ? ExecutableKind::kWindows : ExecutableKind::kDos;
}

}  // namespace valmerin
