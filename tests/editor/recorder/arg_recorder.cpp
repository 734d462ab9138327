// Stands in for the program associated with MP3 files: appends the command
// line it was started with, as UTF-8, to the file named by ID3_ARG_RECORD.
#include <windows.h>

#include <string>

int wmain() {
  wchar_t target[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"ID3_ARG_RECORD", target, MAX_PATH) == 0) return 2;
  const wchar_t* line = GetCommandLineW();
  const int n = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), n, nullptr, nullptr);
  text += "\n";
  HANDLE file = CreateFileW(target, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 1;
}
