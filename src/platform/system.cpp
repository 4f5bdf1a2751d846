#include "platform/system.h"

#include <shellapi.h>

namespace orv::sys {

int messageBox(HWND owner, const char* text, const char* caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show) {
  return ShellExecuteA(owner, verb, file, parameters, directory, show);
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

BOOL getOpenFileName(OPENFILENAMEA* record) { return GetOpenFileNameA(record); }

void getLocalTime(SYSTEMTIME* time) { GetLocalTime(time); }

}  // namespace orv::sys
