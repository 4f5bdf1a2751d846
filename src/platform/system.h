#pragma once

#include "platform/win.h"

#include <commdlg.h>

// The calls whose effects leave the process or wait for a person. The product
// links system.cpp, which makes them for real; tests link a recording
// stand-in with the same names.
namespace orv::sys {

int messageBox(HWND owner, const char* text, const char* caption, UINT style);
HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show);
BOOL exitWindowsEx(UINT flags, DWORD reserved);

// SetSystemPowerState, looked up at run time: kernels before Windows 2000 lack
// it, and a static import of a missing function stops the whole exe loading.
// Null where the system has none.
using PowerStateFn = BOOL(WINAPI*)(BOOL suspend, BOOL force);
PowerStateFn setSystemPowerState();

BOOL getVersionEx(OSVERSIONINFOA* info);
BOOL openProcessToken(HANDLE process, DWORD access, HANDLE* token);
BOOL lookupPrivilegeValue(const char* system, const char* name, LUID* luid);
BOOL adjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* state, DWORD length,
                           TOKEN_PRIVILEGES* previous, DWORD* returnLength);
BOOL closeHandle(HANDLE handle);

BOOL getOpenFileName(OPENFILENAMEA* record);
void getLocalTime(SYSTEMTIME* time);

}  // namespace orv::sys
