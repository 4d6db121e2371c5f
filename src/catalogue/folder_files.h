#pragma once
// "Cartelle.cfg" (the four emulator folders) and "Disponibili.emu" (which
// emulators the user has). Both keep the order ZSnes, NESticle, KGen, Magic Engine.
#include <array>
#include <optional>
#include <string>

#include "catalogue/emulator_table.h"
#include "catalogue/record_file.h"

namespace valmerin {

inline constexpr std::string_view kFolderFile = "Cartelle.cfg";
inline constexpr std::string_view kAvailabilityFile = "Disponibili.emu";
inline constexpr std::string_view kAvailabilityFileWritten = "disponibili.emu";

using Folders = std::array<std::string, kEmulatorCount>;  // tab order
// Unset (nullopt) and 0 mean not available.
using Availability = std::array<std::optional<int>, kEmulatorCount>;  // tab order

bool ReadFolderFile(Folders& folders);         // false when there is no folder file
void ReadAvailabilityFile(Availability& available);
void ApplyDefaultFolders(Folders& folders);
bool IsAvailable(const std::optional<int>& value);

// Writers for the options window's OK button. Values in tab order; written in the
// file's own order.
SaveResult WriteAvailabilityFile(const std::array<int, kEmulatorCount>& checkStates);
SaveResult WriteFolderFile(const Folders& folders);

}  // namespace valmerin
