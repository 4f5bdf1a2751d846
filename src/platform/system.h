#pragma once

#include "platform/astring.h"
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
BOOL getTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* information,
                         DWORD length, DWORD* returnLength);
BOOL closeHandle(HANDLE handle);

// A named event that another process (the logon side) created: opened to be
// set, never created. Null when it does not exist.
HANDLE openEvent(const char* name);
BOOL setEvent(HANDLE event);

// The registry, as RegCreateKeyExA, RegOpenKeyExA, RegQueryValueExA,
// RegSetValueExA and RegDeleteValueA take it. `access` may name a registry
// view (KEY_WOW64_64KEY, KEY_WOW64_32KEY) only where the system has two.
LONG createKey(HKEY parent, const char* name, DWORD options, REGSAM access, HKEY* key,
               DWORD* disposition);
LONG openKey(HKEY parent, const char* name, REGSAM access, HKEY* key);
LONG queryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size);
LONG setValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size);
LONG deleteValue(HKEY key, const char* name);
// A key without subkeys. RegDeleteKeyA reaches only the caller's own view:
// in another one (`view` a KEY_WOW64_* flag) RegDeleteKeyExA, looked up at
// run time (XP x64 and Vista on); where it is missing the system has one view.
LONG deleteKey(HKEY parent, const char* name, REGSAM view);
LONG closeKey(HKEY key);

// SYSTEM.INI and its like, as GetPrivateProfileStringA and
// WritePrivateProfileStringA take them: the files on 95/98/Me, where the NT
// family maps them to the registry.
DWORD getProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                       DWORD size, const char* file);
BOOL writeProfileString(const char* section, const char* key, const char* value, const char* file);

// IsWow64Process2 (Windows 10 1709 on) and IsWow64Process (XP SP2 and Server
// 2003 SP1 on), looked up at run time: false where missing or failing.
bool isWow64Process2(USHORT* processMachine, USHORT* nativeMachine);
bool isWow64Process(BOOL* wow64);

// Writes `text` to standard output where that is a file or a pipe (a script
// redirected it); a GUI program has none otherwise.
void writeStandardOutput(ByteView text);

int getSystemMetrics(int index);
SHORT getAsyncKeyState(int key);
// Whether the process's window station has display surfaces (WSF_VISIBLE):
// one that has none (a service's) never receives input. True when the
// system cannot say.
bool windowStationVisible();
// One attempt to open the desktop that receives the input, closed again at
// once: 0 when it opened, else the system's error.
DWORD openInputDesktop();
void sleep(DWORD ms);

BOOL getOpenFileName(OPENFILENAMEA* record);
void getLocalTime(SYSTEMTIME* time);

// SetDllDirectoryA where the system has it (XP SP1 and later): "" takes the
// current directory out of the DLL search path, null puts back the default.
// Programs started meanwhile inherit the setting, so it is "" only while we
// load code ourselves.
void setDllDirectory(const char* path);

// System-wide DPI awareness, where the system has it (Vista and later): the
// window and the boxes are drawn at the display's DPI instead of being
// stretched as a bitmap. Per-monitor awareness would leave the dialog to lay
// itself out again, font and buttons, whenever it moves to a display of
// another DPI; for one small fixed dialog a stretched copy there is enough.
// Declared here rather than in the manifest (see res/orvalix.manifest.in),
// as the first thing the process does: Microsoft warns that a DLL that reads
// the DPI while it initialises may keep what it read before the call. Only
// the exe's entry calls it.
void declareDpiAware();

// The manifest asks for Common Controls 6, whose buttons replace user32's,
// but nothing imports comctl32: on XP its window classes exist only once it
// is loaded, which is why Microsoft has applications link to it and call
// InitCommonControls ("Enabling Visual Styles"). Loaded by its bare name,
// which the manifest redirects to version 6, before the first window or box,
// and only where Windows has activation contexts, that is reads manifests:
// elsewhere the name would be searched for, the exe's folder first, and
// nothing needs the DLL. Only the exe's entry calls it.
void loadCommonControls();

// Where SetDllDirectoryA is missing, loads shell32 and comdlg32 now, while the
// current directory is still the one we were started in: later it follows the
// user's folders, and their dependencies would be searched there. Only the
// exe's entry calls it.
void loadShellDllsWhereUnprotected();

}  // namespace orv::sys
