// Stands in for a user's program in the end-to-end tests: appends a line to
// marker.txt in the folder named by ORV_MARKER_DIR, the folder it started in,
// ">" and its command line, then exits.
#include <windows.h>

#include <cstring>

static char line[MAX_PATH + 32768 + 3];

int main() {
  char dir[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("ORV_MARKER_DIR", dir, sizeof dir);
  if (!n || n >= sizeof dir - 16) return 1;
  std::strcat(dir, "\\marker.txt");
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int i = 0; i < 100 && h == INVALID_HANDLE_VALUE; ++i) {
    h = CreateFileA(dir, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) Sleep(10);
  }
  if (h == INVALID_HANDLE_VALUE) return 2;
  std::strcpy(line + GetCurrentDirectoryA(MAX_PATH, line), ">");
  std::strcat(std::strcat(line, GetCommandLineA()), "\r\n");
  DWORD written;
  WriteFile(h, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(h);
  return 0;
}
