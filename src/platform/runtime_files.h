#pragma once
// Small private files that live only while a started program runs.
#include <filesystem>
#include <optional>
#include <string_view>

namespace valmerin {

// Writes `text` whole to a new file only we can read, named
// "<stem>-<random><extension>" in the user's private folder
// (platform/private_folder.h) when there is one, else /tmp; on Windows in the
// user's temporary folder. nullopt when it could not be written; nothing is left
// behind then.
std::optional<std::filesystem::path> WritePrivateFile(std::string_view stem,
                                                      std::string_view extension,
                                                      std::string_view text);

}  // namespace valmerin
