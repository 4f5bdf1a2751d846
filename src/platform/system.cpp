#include "platform/system.h"

#include "platform/late_bound.h"

namespace orv::sys {

namespace {

using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, const char*, const char*, const char*, const char*,
                                          int);
using OpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEA*);
ShellExecuteFn shellExecuteA;
OpenFileNameFn getOpenFileNameA;

// shell32 and comdlg32 bring a dozen more DLLs with them: loaded when first
// needed, not at start, they keep them off the way to the window. Their
// dependencies are loaded with the current directory out of the search, and
// the search path is then left as the call needs it: the default for the
// shell, which starts programs that inherit it; "" for the Open dialog.
template <typename Fn>
Fn lookUp(Fn& cached, const char* dll, const char* name, const char* searchAfter) {
  if (!cached) {
    setDllDirectory("");
    cached = asFunction<Fn>(systemDllFunction(dll, name));
    setDllDirectory(searchAfter);
  }
  return cached;
}

}  // namespace

void setDllDirectory(const char* path) {
  using Fn = BOOL(WINAPI*)(const char*);
  if (auto set = asFunction<Fn>(kernelFunction("SetDllDirectoryA"))) set(path);
}

void loadShellDllsWhereUnprotected() {
  if (kernelFunction("SetDllDirectoryA")) return;
  lookUp(shellExecuteA, "shell32.dll", "ShellExecuteA", nullptr);
  lookUp(getOpenFileNameA, "comdlg32.dll", "GetOpenFileNameA", nullptr);
}

void declareDpiAware() {
  using Fn = BOOL(WINAPI*)();
  if (auto set = asFunction<Fn>(userFunction("SetProcessDPIAware"))) set();
}

void loadCommonControls() {
  if (!kernelFunction("ActivateActCtx")) return;
  setDllDirectory("");
  LoadLibraryA("comctl32.dll");
  setDllDirectory(nullptr);
}

int messageBox(HWND owner, const char* text, const char* caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show) {
  if (!lookUp(shellExecuteA, "shell32.dll", "ShellExecuteA", nullptr))
    return nullptr;  // as out of memory
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

BOOL getTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* information,
                         DWORD length, DWORD* returnLength) {
  return GetTokenInformation(token, kind, information, length, returnLength);
}

BOOL closeHandle(HANDLE handle) { return CloseHandle(handle); }

HANDLE openEvent(const char* name) { return OpenEventA(EVENT_MODIFY_STATE, FALSE, name); }

BOOL setEvent(HANDLE event) { return SetEvent(event); }

LONG createKey(HKEY parent, const char* name, DWORD options, REGSAM access, HKEY* key,
               DWORD* disposition) {
  return RegCreateKeyExA(parent, name, 0, nullptr, options, access, nullptr, key, disposition);
}

LONG openKey(HKEY parent, const char* name, REGSAM access, HKEY* key) {
  return RegOpenKeyExA(parent, name, 0, access, key);
}

LONG queryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  return RegQueryValueExA(key, name, nullptr, type, data, size);
}

LONG setValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  return RegSetValueExA(key, name, 0, type, data, size);
}

LONG deleteValue(HKEY key, const char* name) { return RegDeleteValueA(key, name); }

LONG deleteKey(HKEY parent, const char* name, REGSAM view) {
  using Fn = LONG(WINAPI*)(HKEY, const char*, REGSAM, DWORD);
  auto inView = view ? asFunction<Fn>(advapiFunction("RegDeleteKeyExA")) : nullptr;
  return inView ? inView(parent, name, view, 0) : RegDeleteKeyA(parent, name);
}

LONG closeKey(HKEY key) { return RegCloseKey(key); }

DWORD getProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                       DWORD size, const char* file) {
  return GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
}

BOOL writeProfileString(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringA(section, key, value, file);
}

bool isWow64Process2(USHORT* processMachine, USHORT* nativeMachine) {
  using Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  auto ask = asFunction<Fn>(kernelFunction("IsWow64Process2"));
  return ask && ask(GetCurrentProcess(), processMachine, nativeMachine);
}

bool isWow64Process(BOOL* wow64) {
  using Fn = BOOL(WINAPI*)(HANDLE, BOOL*);
  auto ask = asFunction<Fn>(kernelFunction("IsWow64Process"));
  return ask && ask(GetCurrentProcess(), wow64);
}

void writeStandardOutput(ByteView text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD kind = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
  DWORD written;
  if (kind == FILE_TYPE_DISK || kind == FILE_TYPE_PIPE)
    WriteFile(out, text.ptr, text.size, &written, nullptr);
}

int getSystemMetrics(int index) { return GetSystemMetrics(index); }

SHORT getAsyncKeyState(int key) { return GetAsyncKeyState(key); }

bool windowStationVisible() {
  USEROBJECTFLAGS flags;
  DWORD size;
  return !GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                    &size) ||
         (flags.dwFlags & WSF_VISIBLE);
}

DWORD openInputDesktop() {
  HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
  if (!input) return GetLastError();
  CloseDesktop(input);
  return 0;
}

void sleep(DWORD ms) { Sleep(ms); }

BOOL getOpenFileName(OPENFILENAMEA* record) {
  return lookUp(getOpenFileNameA, "comdlg32.dll", "GetOpenFileNameA", "") &&
         getOpenFileNameA(record);
}

void getLocalTime(SYSTEMTIME* time) { GetLocalTime(time); }

}  // namespace orv::sys
