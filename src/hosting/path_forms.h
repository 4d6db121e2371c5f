#pragma once
// The forms a folder text takes on this host: the host path our own file
// operations use, and the drive-letter form programs from Windows read.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/host_path.h"

namespace valmerin {

// A folder text as a host path (see ToHostPathWithDrives). Elsewhere than on
// Windows, drive letters are the Wine prefix's: $WINEPREFIX/dosdevices, default
// ~/.wine, as the emulators under Wine see them.
std::filesystem::path ToHostPath(std::string_view text);

// The Wine prefix: $WINEPREFIX, default ~/.wine. Not used on Windows.
std::filesystem::path WinePrefixFolder();

// "/" turned into "\", the separator DOS and Windows programs read.
std::string Backslashed(std::string text);

}  // namespace valmerin
