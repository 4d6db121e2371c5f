#pragma once
// What tells one very file from any other that later stands at its name: device,
// file number and change time. A data folder handed to us cannot forge it, so a
// journal line that names a file is only acted on while this still matches.
#include <filesystem>
#include <optional>
#include <string>

namespace valmerin {

// "device:number:change time" of an ordinary file (never through a link); empty
// for anything else or when it cannot be had.
std::string FileIdentity(const std::filesystem::path& path);

// The same without the change time, which a rename may change: the file a
// temporary was before it took its name.
std::string FileNumber(const std::filesystem::path& path);

// Whether `recorded` (either form above) still names the file at `path`.
bool StillTheFile(const std::string& recorded, const std::filesystem::path& path);

// Writes what the system still holds of the file to the disk, so that a rename
// after it never leaves an empty file behind a power cut.
bool FlushFile(const std::filesystem::path& path);

}  // namespace valmerin
