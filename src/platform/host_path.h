#pragma once
// Folder texts are used as plain prefixes, exactly as the user typed them
// ("C:\ZSnes\" + "*.smc"). This maps such a text to the host file system only at
// the moment a file is touched.
#include <filesystem>
#include <optional>
#include <string_view>

namespace valmerin {

// Windows: the text as it is. Elsewhere: "\" counts as a separator; "X:\..." is
// looked up through the link "x:" in the folder `drives`, each component matched
// without regard to case as Windows does; a text that begins with "/" is a host
// path; anything else is relative to the current folder. Which folder holds the
// drives is the hosting layer's choice (hosting/path_forms.h: ToHostPath).
std::filesystem::path ToHostPathWithDrives(std::string_view text,
                                           const std::filesystem::path& drives);

// Whether a folder text begins with a drive, "X:".
inline bool BeginsWithDrive(std::string_view text) {
  const unsigned char first = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
  return text.size() >= 2 && ((first | 0x20) >= 'a' && (first | 0x20) <= 'z') && text[1] == ':';
}

// "C:\..." or "c:/...": a path on a drive, not "C:" alone or "C:file".
inline bool IsDrivePath(std::string_view text) {
  return BeginsWithDrive(text) && text.size() >= 3 && (text[2] == '\\' || text[2] == '/');
}

// The ordinary file of `folder` whose name matches `name` without regard to
// letter case, read as a whole name whatever it holds ("\" and ".." included;
// the exact spelling wins when several match): folder / the name as stored.
std::optional<std::filesystem::path> FindInFolder(const std::filesystem::path& folder,
                                                  std::string_view name);

// The ordinary file of the current folder whose name matches `name` without
// regard to letter case (the exact spelling wins when several do). nullopt when
// there is none: folders, hidden and system files do not count.
std::optional<std::filesystem::path> FindInCurrentFolder(std::string_view name);

// Where a current-folder file of that name is to be written: the existing file
// found by FindInCurrentFolder, or a new file spelt as given.
std::filesystem::path CurrentFolderFileForWriting(std::string_view name);

}  // namespace valmerin
