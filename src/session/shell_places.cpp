#include "session/shell_places.h"

#include "platform/grown_text.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace orv {

namespace {

constexpr char kWinlogonUser[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kMappingKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\system.ini\\boot";
constexpr char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

struct PlaceRow {
  HKEY root;
  const char* key;
  bool view32;
};

// In ShellPlace order; kSystemIni has no key.
const PlaceRow kPlaceRows[] = {
    {HKEY_CURRENT_USER, kWinlogonUser, false}, {HKEY_LOCAL_MACHINE, kWinlogon, false},
    {HKEY_LOCAL_MACHINE, kWinlogon, true},     {HKEY_LOCAL_MACHINE, kMappingKey, false},
    {HKEY_LOCAL_MACHINE, kMappingKey, true},   {nullptr, nullptr, false},
    {HKEY_CURRENT_USER, kPolicyKey, false},
};

// The view flag for a machine place: only on 64-bit Windows, whose registry
// has two; elsewhere the system's own view, and no flag.
REGSAM viewOf(const ShellSystem& system, unsigned place) {
  if (!system.twoViews || kPlaceRows[place].root != HKEY_LOCAL_MACHINE) return 0;
  return kPlaceRows[place].view32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

// "\n" ends a line of an .ini file and so no value has one: the answer when
// there is no value.
constexpr char kNoIniValue[] = "\n";

AString iniShell() {
  return askGrowing([](char* buffer, DWORD size, const void*) -> DWORD {
    DWORD n = sys::getProfileString("boot", "shell", kNoIniValue, buffer, size, "system.ini");
    return n + 1 == size ? size : n;  // filled: it may have been cut short
  });
}

}  // namespace

ShellSystem shellSystemOf() {
  ShellSystem system;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  sys::getVersionEx(&version);
  system.nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  system.readsMapping = system.nt && version.dwMajorVersion < 6;
  // XP (5.1) is the first Windows with a 64-bit edition; 2000 calls the
  // view flags invalid, and neither it nor NT 4.0 is ever asked. The x86
  // exe on ARM64 Windows hears "no WOW64" from IsWow64Process, so
  // IsWow64Process2 is asked first.
  bool sinceXp =
      version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion);
  USHORT process, native = IMAGE_FILE_MACHINE_UNKNOWN;
  BOOL wow64 = FALSE;
  bool answered = sys::isWow64Process2(&process, &native);
  system.twoViews = system.nt && sinceXp &&
                    (sizeof(void*) == 8 || (answered ? native != IMAGE_FILE_MACHINE_I386
                                                     : sys::isWow64Process(&wow64) && wow64));
  return system;
}

bool placeOnSystem(const ShellSystem& system, unsigned place) {
  if (!system.nt) return place == kSystemIni;
  if (place == kSystemIni) return false;
  return system.twoViews || !kPlaceRows[place].view32;
}

bool placeInScope(const ShellSystem& system, unsigned place, ShellScope scope) {
  if (!placeOnSystem(system, place) || place == kPolicy) return false;
  if (!system.nt) return true;  // one shell for the machine
  bool mapping = place == kMapping || place == kMapping32;
  if (scope == ShellScope::machine) return place != kUserShell;
  // The user's own value alone where the mapping is not what is read (Vista
  // on: community knowledge, see README.txt).
  return place == kUserShell || (mapping && system.readsMapping);
}

void appendPlaceName(AString& out, const ShellSystem& system, unsigned place) {
  if (place == kSystemIni) {
    out.append("SYSTEM.INI [boot] shell");
    return;
  }
  const PlaceRow& row = kPlaceRows[place];
  out.append(ByteView::ofCString(row.root == HKEY_LOCAL_MACHINE ? "HKLM\\" : "HKCU\\"))
      .append(ByteView::ofCString(row.key))
      .append("\\Shell");
  if (REGSAM view = viewOf(system, place))
    out.append(ByteView::ofCString(view == KEY_WOW64_32KEY ? " (32-bit view)" : " (64-bit view)"));
}

PlaceValue readPlace(const ShellSystem& system, unsigned place) {
  PlaceValue read;
  if (place == kSystemIni) {
    read.value.text = iniShell();
    read.error = read.value.text.failed()                ? ERROR_NOT_ENOUGH_MEMORY
                 : read.value.text.view() == kNoIniValue ? ERROR_FILE_NOT_FOUND
                                                         : 0;
  } else {
    const PlaceRow& row = kPlaceRows[place];
    RegistryValue value = readRegistryValue(row.root, row.key, "Shell", viewOf(system, place));
    read.error = value.error;
    if (!read.error && value.type != REG_SZ && value.type != REG_EXPAND_SZ)
      read.error = ERROR_INVALID_DATA;
    read.value.expand = value.type == REG_EXPAND_SZ;
    read.value.text = static_cast<AString&&>(value.bytes);
  }
  read.value.there = !read.error;
  if (read.error) read.value.text = AString();
  return read;
}

LONG mayWritePlace(const ShellSystem& system, unsigned place) {
  if (place == kSystemIni) return 0;  // 95/98/Me: no permissions
  const PlaceRow& row = kPlaceRows[place];
  return mayWriteRegistryKey(row.root, row.key, viewOf(system, place));
}

LONG writePlace(const ShellSystem& system, unsigned place, const RecordedValue& value) {
  if (place == kSystemIni) {
    if (!sys::writeProfileString("boot", "shell", value.there ? value.text.c_str() : nullptr,
                                 "system.ini"))
      return GetLastError() ? static_cast<LONG>(GetLastError()) : ERROR_WRITE_FAULT;
    // With no arguments but the file, the call writes out what 95 keeps of
    // it in memory (Microsoft, "WritePrivateProfileString"); the reading
    // back below says whether it holds what was written.
    sys::writeProfileString(nullptr, nullptr, nullptr, "system.ini");
    PlaceValue back = readPlace(system, place);
    return back.value.there == value.there && back.value.text.view() == value.text.view()
               ? 0
               : ERROR_INVALID_DATA;
  }
  const PlaceRow& row = kPlaceRows[place];
  RegistryValue written;
  written.error = value.there ? 0 : ERROR_FILE_NOT_FOUND;
  written.type = value.expand ? REG_EXPAND_SZ : REG_SZ;
  written.bytes.assign(value.text.view());
  if (written.bytes.failed()) return ERROR_NOT_ENOUGH_MEMORY;
  return writeRegistryValue(row.root, row.key, "Shell", viewOf(system, place), written);
}

void appendValueToSet(AString& out, const ShellSystem& system, unsigned place, ShellScope scope,
                      ByteView exe) {
  if (place == kMapping || place == kMapping32) {
    // Windows' own for the machine's value; USR: for every user's own.
    out.append(ByteView::ofCString(scope == ShellScope::user ? "USR:Software\\" : "SYS:"))
        .append("Microsoft\\Windows NT\\CurrentVersion\\Winlogon");
    return;
  }
  // A command line: quoted, as CreateProcess asks for a path with blanks.
  // 95 takes SYSTEM.INI's line as it is, with the 8.3 path it is given.
  if (system.nt) out.append('"');
  out.append(exe);
  if (system.nt) out.append('"');
}

RecordKey recordKeyOf(const ShellSystem& system, ShellScope scope) {
  // 95/98/Me have one shell, the machine's.
  if (scope == ShellScope::user && system.nt)
    return {HKEY_CURRENT_USER, "Software\\Orvalix\\Shell", 0};
  return {HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvalix\\Shell",
          static_cast<REGSAM>(system.twoViews ? KEY_WOW64_64KEY : 0)};
}

}  // namespace orv
