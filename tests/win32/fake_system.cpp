#include "fake_system.h"

#include <cstdio>

#include "platform/astring.h"
#include "platform/system.h"

namespace fake {

Script script;
std::vector<std::string> calls;

void reset() {
  script = Script();
  calls.clear();
}

std::string shellCall(const std::string& file, const std::string& directory,
                      const std::string& during) {
  return "ShellExecuteA 5 [" + file + "] in [" + directory + "] from " + during;
}

static void record(const std::string& line) {
  calls.push_back(line);
  if (script.onCall) script.onCall(line);
}

static std::string hex(unsigned long v) {
  char b[16];
  std::snprintf(b, sizeof b, "%lx", v);
  return b;
}

}  // namespace fake

namespace orv::sys {

using fake::record;
using fake::script;

int messageBox(HWND owner, const char* text, const char* caption, UINT style) {
  record("MessageBoxA " + fake::hex(reinterpret_cast<UINT_PTR>(owner)) + " [" + caption + "] [" +
         text + "] " + fake::hex(style));
  if (script.messageBoxAnswers.empty()) return IDOK;
  int answer = script.messageBoxAnswers.front();
  script.messageBoxAnswers.erase(script.messageBoxAnswers.begin());
  return answer;
}

HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int show) {
  char system[MAX_PATH], here[MAX_PATH * 4];
  std::string during(here, GetCurrentDirectoryA(sizeof here, here));
  if (during == std::string(system, GetSystemDirectoryA(system, MAX_PATH))) during = "system";
  record(std::string("ShellExecuteA ") + (owner ? "owner " : "") + (verb ? "verb " : "") +
         (parameters ? "params " : "") + std::to_string(show) + " [" + file + "] in [" +
         (directory ? directory : "null") + "] from " + during);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(script.shellResult));
}

BOOL exitWindowsEx(UINT flags, DWORD reserved) {
  record("ExitWindowsEx " + std::to_string(flags) + " " + fake::hex(reserved));
  SetLastError(script.exitLastError);
  return script.exitResult;
}

static BOOL WINAPI recordPowerState(BOOL suspend, BOOL force) {
  record("SetSystemPowerState " + std::to_string(suspend) + " " + std::to_string(force));
  SetLastError(script.powerLastError);
  return script.powerResult;
}

PowerStateFn setSystemPowerState() {
  return script.powerFunctionMissing ? nullptr : recordPowerState;
}

BOOL getVersionEx(OSVERSIONINFOA* info) {
  record("GetVersionExA " + std::to_string(info->dwOSVersionInfoSize) +
         (info->dwPlatformId || info->dwMajorVersion ? " dirty" : ""));
  if (script.platformId == 0xFFFFFFFF) return GetVersionExA(info);
  info->dwPlatformId = script.platformId;
  info->dwMajorVersion = script.majorVersion;
  info->dwMinorVersion = script.minorVersion;
  return TRUE;
}

BOOL openProcessToken(HANDLE process, DWORD access, HANDLE* token) {
  record("OpenProcessToken " + std::string(process == GetCurrentProcess() ? "self " : "other ") +
         fake::hex(access));
  if (script.openToken == -1) return OpenProcessToken(process, access, token);
  if (script.openToken) *token = reinterpret_cast<HANDLE>(0x7070);
  return script.openToken;
}

BOOL lookupPrivilegeValue(const char* system, const char* name, LUID* luid) {
  record(std::string("LookupPrivilegeValueA ") + (system ? system : "null") + " " + name);
  if (script.lookup == -1) return LookupPrivilegeValueA(system, name, luid);
  if (script.lookup) *luid = {19, 0};
  return script.lookup;
}

BOOL adjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* state, DWORD length,
                           TOKEN_PRIVILEGES* previous, DWORD* returnLength) {
  record("AdjustTokenPrivileges " + std::to_string(disableAll) + " count " +
         std::to_string(state->PrivilegeCount) + " luid " +
         std::to_string(state->Privileges[0].Luid.LowPart) + " attr " +
         std::to_string(state->Privileges[0].Attributes) + " " + std::to_string(length) +
         (previous || returnLength ? " previous" : ""));
  if (script.adjust == -1 && token != reinterpret_cast<HANDLE>(0x7070))
    return AdjustTokenPrivileges(token, disableAll, state, length, previous, returnLength);
  SetLastError(script.adjustLastError);
  return script.adjust != 0;
}

// The handles the stand-in makes up: a token, its linked token, an event.
static bool madeUp(HANDLE h) {
  return h == reinterpret_cast<HANDLE>(0x7070) || h == reinterpret_cast<HANDLE>(0x7272) ||
         h == reinterpret_cast<HANDLE>(0x7171);
}

BOOL getTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* information,
                         DWORD length, DWORD* returnLength) {
  record("GetTokenInformation " + std::to_string(kind) + " " + std::to_string(length));
  if (script.tokenInformation == -1 && !madeUp(token))
    return GetTokenInformation(token, kind, information, length, returnLength);
  if (!script.tokenInformation) return FALSE;
  if (kind == TokenElevationType)
    *static_cast<DWORD*>(information) =
        script.elevated ? TokenElevationTypeFull : TokenElevationTypeDefault;
  else if (kind == TokenLinkedToken)
    *static_cast<HANDLE*>(information) = reinterpret_cast<HANDLE>(0x7272);
  else if (kind == TokenStatistics)
    static_cast<TOKEN_STATISTICS*>(information)->AuthenticationId =
        script.elevated && token != reinterpret_cast<HANDLE>(0x7272) ? LUID{0x9999, 0}
                                                                     : script.logonId;
  return kind == TokenElevationType || kind == TokenLinkedToken || kind == TokenStatistics;
}

BOOL closeHandle(HANDLE handle) {
  record("CloseHandle");
  return madeUp(handle) ? TRUE : CloseHandle(handle);
}

HANDLE openEvent(const char* name) {
  record(std::string("OpenEventA [") + name + "]");
  return script.events.count(name) ? reinterpret_cast<HANDLE>(0x7171) : nullptr;
}

BOOL setEvent(HANDLE event) {
  record(madeUp(event) ? "SetEvent" : "SetEvent of a real handle");
  return TRUE;
}

// The registry the stand-in gives is a real one, kept apart from the
// prefix's own settings below HKEY_CURRENT_USER\Software\Orvalix Tests, one
// key per hive and registry view (HKLM for the 64-bit one, HKLM32), so that
// tests see each view apart.
static const std::string kTestRoot = "Software\\Orvalix Tests\\";

static std::string hiveOf(HKEY parent, REGSAM access) {
  if (parent == HKEY_CURRENT_USER) return "HKCU";
  if (parent != HKEY_LOCAL_MACHINE) return "key";
  bool view32 = access & KEY_WOW64_32KEY || (!(access & KEY_WOW64_64KEY) && sizeof(void*) == 4);
  return view32 ? "HKLM32" : "HKLM";
}

// What the test scripted for a key that `name` leads to, else `call()`
// on the test's own place for it.
template <typename Call>
static LONG inTestRegistry(HKEY parent, const char* name, REGSAM access, Call call) {
  if (script.registryError) return script.registryError;
  for (auto& denied : script.registryWritesDenied)
    if (std::string(name).find(denied) != std::string::npos && (access & KEY_SET_VALUE))
      return ERROR_ACCESS_DENIED;
  std::string hive = hiveOf(parent, access), path = name;
  if (hive != "key") {
    // Made lasting first: a volatile key made below a missing one makes it
    // volatile too, and nothing lasting could be made there after.
    HKEY root;
    if (!RegCreateKeyExA(HKEY_CURRENT_USER, (kTestRoot + hive).c_str(), 0, nullptr, 0,
                         KEY_CREATE_SUB_KEY, nullptr, &root, nullptr))
      RegCloseKey(root);
    parent = HKEY_CURRENT_USER, path = kTestRoot + hive + "\\" + name;
  }
  return call(parent, path.c_str(), access & ~(KEY_WOW64_32KEY | KEY_WOW64_64KEY));
}

LONG createKey(HKEY parent, const char* name, DWORD options, REGSAM access, HKEY* key,
               DWORD* disposition) {
  record("RegCreateKeyExA " + hiveOf(parent, access) + " [" + name + "]" +
         (options & REG_OPTION_VOLATILE ? " volatile " : " ") + fake::hex(access));
  return inTestRegistry(parent, name, access, [&](HKEY at, const char* path, REGSAM rights) {
    return RegCreateKeyExA(at, path, 0, nullptr, options, rights, nullptr, key, disposition);
  });
}

LONG openKey(HKEY parent, const char* name, REGSAM access, HKEY* key) {
  record("RegOpenKeyExA " + hiveOf(parent, access) + " [" + name + "] " + fake::hex(access));
  return inTestRegistry(parent, name, access, [&](HKEY at, const char* path, REGSAM rights) {
    return RegOpenKeyExA(at, path, 0, rights, key);
  });
}

LONG queryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  return RegQueryValueExA(key, name, nullptr, type, data, size);
}

LONG setValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  record(std::string("RegSetValueExA [") + name + "] " + bytes);
  if (!script.failWritesOf.empty() && bytes.find(script.failWritesOf) != std::string::npos)
    return ERROR_WRITE_FAULT;
  return RegSetValueExA(key, name, 0, type, data, size);
}

LONG deleteValue(HKEY key, const char* name) {
  record(std::string("RegDeleteValueA [") + name + "]");
  return RegDeleteValueA(key, name);
}

LONG deleteKey(HKEY parent, const char* name, REGSAM view) {
  record("RegDeleteKeyExA " + hiveOf(parent, view) + " [" + name + "] " + fake::hex(view));
  return inTestRegistry(parent, name, view,
                        [&](HKEY at, const char* path, REGSAM) { return RegDeleteKeyA(at, path); });
}

LONG closeKey(HKEY key) { return RegCloseKey(key); }

DWORD getProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                       DWORD size, const char* file) {
  return GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
}

BOOL writeProfileString(const char* section, const char* key, const char* value, const char* file) {
  record(std::string("WritePrivateProfileStringA ") + (key ? key : "null") + " [" +
         (value ? value : "null") + "]");
  return WritePrivateProfileStringA(section, key, value, file);
}

bool isWow64Process2(USHORT* processMachine, USHORT* nativeMachine) {
  if (!script.nativeMachine) return false;
  *processMachine = IMAGE_FILE_MACHINE_I386;
  *nativeMachine = script.nativeMachine;
  return true;
}

bool isWow64Process(BOOL* wow64) {
  *wow64 = script.wow64 == 1;
  return script.wow64 >= 0;
}

void writeStandardOutput(orv::ByteView text) {
  record("StandardOutput " + std::string(text.ptr, text.size));
}

int getSystemMetrics(int index) {
  record("GetSystemMetrics " + std::to_string(index));
  return index == SM_CLEANBOOT ? script.cleanBoot : GetSystemMetrics(index);
}

SHORT getAsyncKeyState(int key) {
  record("GetAsyncKeyState " + std::to_string(key));
  return key == VK_SHIFT && script.shiftDown ? static_cast<SHORT>(0x8000) : 0;
}

bool windowStationVisible() {
  record("WindowStationVisible");
  return script.windowStationVisible;
}

DWORD openInputDesktop() {
  record("OpenInputDesktop");
  auto& errors = script.inputDesktopErrors;
  if (errors.empty()) return 0;
  DWORD error = errors.front();
  if (errors.size() > 1) errors.erase(errors.begin());
  return error;
}

void sleep(DWORD ms) { record("Sleep " + std::to_string(ms)); }

BOOL getOpenFileName(OPENFILENAMEA* record) {
  fake::record("GetOpenFileNameA");
  return script.openFileDialog ? script.openFileDialog(record) : FALSE;
}

void setDllDirectory(const char* path) {
  record(std::string("SetDllDirectoryA ") + (path ? "[" + std::string(path) + "]" : "null"));
}

void getLocalTime(SYSTEMTIME* time) {
  if (script.fixedTime)
    *time = script.time;
  else
    GetLocalTime(time);
}

}  // namespace orv::sys

namespace orv {

void* memAlloc(unsigned size) {
  return fake::script.allocationsFail ? nullptr : HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void memFree(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace orv
