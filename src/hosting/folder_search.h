#pragma once
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valmerin {

// The ordinary files (no folders, no hidden or system files; on Linux a name
// beginning with "." is hidden) named by a search text "folder text + pattern",
// split at its last "\" or "/". "*" matches any run of characters, letters match
// without regard to case. Names come back as stored, in case-insensitive name
// order, the way Windows file systems yield them. A folder that does not exist or
// cannot be read yields nothing.
std::vector<std::string> SearchFolder(std::string_view searchText);

// The same search for several patterns behind one folder text, answered from a
// single pass over the folder: one result per pattern, each exactly what
// SearchFolder(folderText + pattern) gives.
std::vector<std::vector<std::string>> SearchFolderPatterns(
    std::string_view folderText, const std::vector<std::string_view>& patterns);

// The same search without copying the names: `visit` gets each pattern's index and
// its matches, in pattern order; the views last only for that call.
void VisitFolderPatterns(
    std::string_view folderText, const std::vector<std::string_view>& patterns,
    const std::function<void(std::size_t, std::span<const std::string_view>)>& visit);

// Case-insensitive "*" match of a whole name, exposed for tests and the scan.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Case-insensitive ordering of names (ASCII and Latin-1 letters folded).
bool NameLessCaseInsensitive(std::string_view a, std::string_view b);

}  // namespace valmerin
