#include "platform/system.h"

namespace orv::sys {

namespace {

// shell32 and comdlg32 bring a dozen more DLLs with them; loaded when first
// needed rather than at start, they keep them off the way to the window. They
// are loaded by full path from the system folder: the current directory may
// be a user's folder, and older systems search it first.
FARPROC systemFunction(const char* dll, const char* name) {
  char path[MAX_PATH + 16];
  UINT n = GetSystemDirectoryA(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  path[n++] = '\\';
  for (const char* p = dll; (path[n] = *p) != 0; ++p) ++n;
  HMODULE module = LoadLibraryA(path);
  return module ? GetProcAddress(module, name) : nullptr;
}

template <typename Fn>
Fn lookUp(Fn& cached, const char* dll, const char* name) {
  if (!cached) cached = reinterpret_cast<Fn>(reinterpret_cast<void*>(systemFunction(dll, name)));
  return cached;
}

}  // namespace

int messageBox(HWND owner, const char* text, const char* caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show) {
  using Fn = HINSTANCE(WINAPI*)(HWND, const char*, const char*, const char*, const char*, int);
  static Fn shellExecuteA;
  if (!lookUp(shellExecuteA, "shell32.dll", "ShellExecuteA")) return nullptr;  // as out of memory
  return shellExecuteA(owner, verb, file, parameters, directory, show);
}

BOOL exitWindowsEx(UINT flags, DWORD reserved) { return ExitWindowsEx(flags, reserved); }

PowerStateFn setSystemPowerState() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? reinterpret_cast<PowerStateFn>(
                      reinterpret_cast<void*>(GetProcAddress(kernel, "SetSystemPowerState")))
                : nullptr;
}

BOOL getVersionEx(OSVERSIONINFOA* info) { return GetVersionExA(info); }

BOOL openProcessToken(HANDLE process, DWORD access, HANDLE* token) {
  return OpenProcessToken(process, access, token);
}

BOOL lookupPrivilegeValue(const char* system, const char* name, LUID* luid) {
  return LookupPrivilegeValueA(system, name, luid);
}

BOOL adjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* state, DWORD length,
                           TOKEN_PRIVILEGES* previous, DWORD* returnLength) {
  return AdjustTokenPrivileges(token, disableAll, state, length, previous, returnLength);
}

BOOL closeHandle(HANDLE handle) { return CloseHandle(handle); }

BOOL getOpenFileName(OPENFILENAMEA* record) {
  using Fn = BOOL(WINAPI*)(OPENFILENAMEA*);
  static Fn getOpenFileNameA;
  return lookUp(getOpenFileNameA, "comdlg32.dll", "GetOpenFileNameA") && getOpenFileNameA(record);
}

void getLocalTime(SYSTEMTIME* time) { GetLocalTime(time); }

}  // namespace orv::sys
