// Stands in for a user's program in the end-to-end tests: appends the folder
// it started in, ">" and its command line to marker.txt in the folder named by
// ORV_MARKER_DIR, then exits.
#include <windows.h>

#include <cstring>

int main() {
  char dir[MAX_PATH], here[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("ORV_MARKER_DIR", dir, sizeof dir);
  if (!n || n >= sizeof dir - 16) return 1;
  std::strcat(dir, "\\marker.txt");
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int i = 0; i < 100 && h == INVALID_HANDLE_VALUE; ++i) {
    h = CreateFileA(dir, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) Sleep(10);
  }
  if (h == INVALID_HANDLE_VALUE) return 2;
  const char* line = GetCommandLineA();
  DWORD written;
  WriteFile(h, here, GetCurrentDirectoryA(sizeof here, here), &written, nullptr);
  WriteFile(h, ">", 1, &written, nullptr);
  WriteFile(h, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  WriteFile(h, "\r\n", 2, &written, nullptr);
  CloseHandle(h);
  return 0;
}
