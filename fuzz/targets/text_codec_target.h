#pragma once
// The Windows-1252 codec: every byte string decodes and encodes back to itself;
// whatever encodes decodes back to the same UTF-8.
#include "platform/text_codec.h"
#include "platform/utf8.h"
#include "fuzz_support.h"

namespace valmerin::fuzz {

inline void TextCodecTarget(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = AsBytes(data, size);

  const std::string decoded = DecodeCp1252(bytes);
  for (std::size_t pos = 0; pos < decoded.size();) {
    Require(NextCodePoint(decoded, pos).has_value(), "decoding gave malformed UTF-8");
  }
  const std::optional<std::string> again = EncodeCp1252(decoded);
  Require(again.has_value(), "decoded text does not encode");
  Require(*again == bytes, "decode then encode changed the bytes");

  const std::optional<std::string> encoded = EncodeCp1252(bytes);
  Require(encoded.has_value() == FitsCp1252(bytes), "FitsCp1252 disagrees with EncodeCp1252");
  if (encoded) {
    Require(DecodeCp1252(*encoded) == bytes, "encode then decode changed the text");
  }
}

}  // namespace valmerin::fuzz
