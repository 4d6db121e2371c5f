// Stand-in for dosbox.exe: writes the command line it was given and the text of
// every file named after a "-conf" (read while it runs: ours is removed once it
// ends) to dosbox_ricevuti.txt in its current folder, as UTF-8.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  return result;
}

std::string FileText(const wchar_t* name) {
  HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(non leggibile)\n";
  std::string text(65536, '\0');
  DWORD got = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(file);
  text.resize(got);
  return text;
}

}  // namespace

int main() {
  std::string report = "RIGA:" + Utf8(GetCommandLineW()) + "\n";
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i + 1 < count; ++i) {
    if (lstrcmpW(argv[i], L"-conf") != 0) continue;
    report += "CONF:" + Utf8(argv[i + 1]) + "\n" + FileText(argv[i + 1]);
  }
  LocalFree(argv);
  HANDLE out = CreateFileW(L"dosbox_ricevuti.txt.part", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(out, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  CloseHandle(out);
  return MoveFileExW(L"dosbox_ricevuti.txt.part", L"dosbox_ricevuti.txt", MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
