/* A Windows stand-in emulator: writes its command line (GetCommandLineW), its
 * current folder and the first 16 bytes of the file named by its last argument
 * to ricevuti.txt beside itself, in UTF-8. */
#include <windows.h>
#include <shellapi.h>

static void WriteUtf8(HANDLE out, const wchar_t* text) {
  char buffer[8192];
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
  DWORD written = 0;
  if (size > 1) WriteFile(out, buffer, (DWORD)(size - 1), &written, NULL);
}

int wmain(void) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(NULL, self, MAX_PATH);
  wchar_t* slash = wcsrchr(self, L'\\');
  if (slash != NULL) wcscpy(slash + 1, L"ricevuti.txt");
  HANDLE out = CreateFileW(self, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (out == INVALID_HANDLE_VALUE) return 1;

  WriteUtf8(out, L"RIGA:");
  WriteUtf8(out, GetCommandLineW());
  wchar_t folder[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, folder);
  WriteUtf8(out, L"\r\nCARTELLA:");
  WriteUtf8(out, folder);
  WriteUtf8(out, L"\r\nGIOCO:");

  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  HANDLE game = count > 1 ? CreateFileW(argv[count - 1], GENERIC_READ, FILE_SHARE_READ, NULL,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL)
                          : INVALID_HANDLE_VALUE;
  if (game == INVALID_HANDLE_VALUE) {
    WriteUtf8(out, L"(non leggibile)");
  } else {
    char bytes[16];
    DWORD got = 0;
    ReadFile(game, bytes, sizeof bytes, &got, NULL);
    DWORD written = 0;
    WriteFile(out, bytes, got, &written, NULL);
    CloseHandle(game);
  }
  CloseHandle(out);
  return 0;
}
