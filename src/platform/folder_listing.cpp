#include "platform/folder_listing.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <string>

#include "platform/text_codec.h"
#include "platform/utf8.h"

namespace valmerin {

#ifdef _WIN32

bool ForEachFolderEntry(const std::filesystem::path& folder,
                        const std::function<void(const FolderEntry&)>& visit) {
  std::wstring pattern = folder.empty() ? std::wstring(L".") : folder.wstring();
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' &&
      pattern.back() != L':') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  std::string name;
  do {
    const std::wstring_view wide(data.cFileName);
    if (wide == L"." || wide == L"..") continue;
    name = Utf8FromWide(wide);
    FolderEntry entry;
    entry.name = name;
    entry.stored = name;
    entry.regularFile = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    entry.hidden = (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    visit(entry);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return true;
}

#else

bool ForEachFolderEntry(const std::filesystem::path& folder,
                        const std::function<void(const FolderEntry&)>& visit) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  const int fd = dirfd(dir);
  std::string decoded;
  while (const dirent* item = readdir(dir)) {
    const std::string_view name(item->d_name);
    if (name == "." || name == "..") continue;
    FolderEntry entry;
    entry.stored = name;
    entry.name = name;
    // A name copied from an old Windows disk keeps its Windows-1252 bytes.
    if (!IsValidUtf8(name)) {
      decoded = DecodeCp1252(name);
      entry.name = decoded;
    }
    entry.hidden = name.front() == '.';
    if (item->d_type == DT_REG) {
      entry.regularFile = true;
    } else if (item->d_type == DT_UNKNOWN || item->d_type == DT_LNK) {
      // Only links and file systems without d_type cost a stat.
      struct stat info;
      entry.regularFile = fstatat(fd, item->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
    }
    visit(entry);
  }
  closedir(dir);
  return true;
}

#endif

}  // namespace valmerin
