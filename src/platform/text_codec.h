#pragma once
// Windows-1252 <-> UTF-8. Every file the program keeps is Windows-1252; inside the
// program all text is UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace valmerin {

// Every byte decodes. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the C1 controls of the same number, so they round-trip.
std::string DecodeCp1252(std::string_view bytes);

// nullopt when the text holds a character the code page cannot hold, or is not
// valid UTF-8: such text is reported, never written changed.
std::optional<std::string> EncodeCp1252(std::string_view utf8);

bool FitsCp1252(std::string_view utf8);

}  // namespace valmerin
