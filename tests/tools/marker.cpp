// Stands in for a user's program in the end-to-end tests: appends a line to
// marker.txt in the folder named by ORV_MARKER_DIR, the folder it started in,
// ">" and its command line, then exits. With ORV_MARKER_EVENTS ("name|name"),
// the line begins "events " and a 1 or 0 for each named event (set or not
// when the program started) and a blank.
#include <windows.h>

#include <cstring>
#include <string>

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
  char events[512];
  n = GetEnvironmentVariableA("ORV_MARKER_EVENTS", events, sizeof events);
  if (n && n < sizeof events) {
    std::string states = "events ";
    for (char *name = events, *end; name; name = end ? end + 1 : nullptr) {
      if ((end = std::strchr(name, '|'))) *end = 0;
      HANDLE e = OpenEventA(SYNCHRONIZE, FALSE, name);
      states += e && WaitForSingleObject(e, 0) == WAIT_OBJECT_0 ? '1' : '0';
      if (e) CloseHandle(e);
    }
    states += ' ';
    WriteFile(h, states.data(), static_cast<DWORD>(states.size()), &written, nullptr);
  }
  WriteFile(h, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(h);
  return 0;
}
