#pragma once
// A game's own files (battery saves, states, patches) live beside the game under
// its name. The emulator is given the game as the copy, so it looks for them
// under the copy's stem: they are lent under that stem before it starts and given
// back under the game's name once it has ended.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "launch/copy_journal.h"

namespace valmerin {

// The files of `folder` that belong to the game of stem `gameStem`: its name and
// another ending, ordinary files, not games of the list (`isGame`), and small
// enough to be what an emulator reads at start (a video or an archive beside the
// game is never copied). Each with the name it gets under `copyStem`.
std::vector<LentFile> FilesToLend(const std::filesystem::path& folder, std::string_view gameStem,
                                  std::string_view copyStem,
                                  const std::function<bool(std::string_view)>& isGame);

// Renames what stands under `copyStem` in `folder` and is not `ours` to a name
// that says it belongs to an unknown game, never over anything. Returns each old
// and new name.
std::vector<std::pair<std::string, std::string>> MoveAsideForeign(
    const std::filesystem::path& folder, std::string_view copyStem,
    const std::function<bool(const std::filesystem::path&)>& ours);

// The emulator of `run` has ended: in each of its folders every file under the
// copy's stem that it made or changed goes back under the game's name (synced,
// then renamed over the old one, so the old one stays until the new one is whole);
// lent files it left as they were are removed. Returns what could not be given
// back, as Italian lines.
std::vector<std::string> HandBack(const JournalRun& run);

}  // namespace valmerin
