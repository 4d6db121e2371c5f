#pragma once
// Questions about programs that are not (or no longer) our children.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace valmerin {

// Whether process `number` is a running Valmerin (the owner of the temporaries
// that carry its number).
bool ValmerinRuns(std::uint64_t number);

// Whether a program started in `folder` still runs on the file `fileName` (named
// in its arguments, letter case ignored): an emulator that outlived a killed
// Valmerin. nullopt where the system cannot tell.
std::optional<bool> ProgramRunsOn(const std::filesystem::path& folder, std::string_view fileName);

}  // namespace valmerin
