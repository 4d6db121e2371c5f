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

bool ReadFolderFile(Folders& folders);  // false when there is no folder file
void ReadAvailabilityFile(Availability& available);
void ApplyDefaultFolders(Folders& folders);
bool IsAvailable(const std::optional<int>& value);
// What a value of the availability file means, the same to the start-up and to
// the options window's boxes: Empty and 0 are off, 1 and 2 (greyed) are
// themselves, any other number, quoted or not (0.4, "99999", -1), is on. A word or
// a Boolean is no check state: nullopt.
std::optional<int> AvailabilityCheckState(const FieldValue& field);

// Writers for the options window's OK button. Values in tab order; written in the
// file's own order.
// The availability file is the one the start-up reads ("Disponibili.emu" in any
// letter case), created as "disponibili.emu" when there is none.
SaveOutcome WriteAvailabilityFile(const std::array<int, kEmulatorCount>& checkStates);
SaveOutcome WriteFolderFile(const Folders& folders);

}  // namespace valmerin
