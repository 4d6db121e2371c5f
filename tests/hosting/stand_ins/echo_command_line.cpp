// Stand-in program for the Windows start test: writes the command line it was
// given, as UTF-8, to command_line.txt in its current folder.
#include <windows.h>

#include <string>

int main() {
  const wchar_t* line = GetCommandLineW();
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
  HANDLE file = CreateFileW(L"command_line.txt.part", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(L"command_line.txt.part", L"command_line.txt", MOVEFILE_REPLACE_EXISTING) ? 0
                                                                                               : 1;
}
