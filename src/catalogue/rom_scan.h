#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/main_window_state.h"
#include "catalogue/window_hooks.h"

namespace valmerin {

// Zipped games are looked for with these, in this order, after the ROMs.
inline constexpr std::array<std::string_view, 2> kArchivePatterns = {"*.zip", "*.7z"};
// The archives the listing of each emulator's folder held, by archive pattern, each
// in the listing's order: the archive step reads them instead of listing again.
using ListedArchives =
    std::array<std::array<std::vector<std::string>, kArchivePatterns.size()>, kEmulatorCount>;

// Fills the empty game list of every available emulator (tab order) from its
// folder, each entry resolved through the descriptions; the names a launch
// reserves (copy_names.h) are never listed. Returns false when the ZSnes folder
// yielded no ROM for any of its patterns; the other emulators are scanned in
// every case. With `archives`, the same pass notes the folder's archives there.
// With `descriptionsReady`, the descriptions may still be loading elsewhere: it is
// called once, when the first folder has been listed, before any name is resolved
// (not at all when no folder is scanned).
bool ScanInto(GameLists& lists, const std::array<std::string, kEmulatorCount>& folders,
              const Descriptions& descriptions, const std::array<bool, kEmulatorCount>& available,
              ListedArchives* archives = nullptr,
              const std::function<void()>& descriptionsReady = nullptr);

// The three messages, then the options window.
void ScanFailure(WindowHooks& hooks);

}  // namespace valmerin
