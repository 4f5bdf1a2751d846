#include "platform/system.h"

#include "platform/late_bound.h"

namespace orv::sys {

namespace {

// shell32 and comdlg32 bring a dozen more DLLs with them: loaded when first
// needed, not at start, they keep them off the way to the window.
template <typename Fn>
Fn lookUp(Fn& cached, const char* dll, const char* name) {
  if (!cached) cached = asFunction<Fn>(systemDllFunction(dll, name));
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
  return asFunction<PowerStateFn>(kernelFunction("SetSystemPowerState"));
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
