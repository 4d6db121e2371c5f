#pragma once
// The game copies a run makes, remembered in a small file of the data folder
// before each copy is made, so that the next start removes what a killed run left
// and never takes it for one of the user's files.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error.h"

namespace valmerin {

inline constexpr std::string_view kCopyJournalFile = "Copie.valmerin";

// Before the copy: its temporary and its final name.
FileResult JournalCopyStarting(const std::filesystem::path& temporary,
                               const std::filesystem::path& copy);
// After the copy: the final file's size and time, so only that very file is ever
// taken for ours; the temporary is forgotten.
FileResult JournalCopyMade(const std::filesystem::path& temporary,
                           const std::filesystem::path& copy);
// The copy failed or was cancelled: the temporary is gone already.
void JournalCopyDropped(const std::filesystem::path& temporary);

// Deletes every journalled file that is still the ordinary file we left (never a
// link, never a file of that name that we did not make) and rewrites the journal
// with the ones that could not go. Returns those, as UTF-8 host paths.
std::vector<std::string> RemoveJournalledCopies();

}  // namespace valmerin
