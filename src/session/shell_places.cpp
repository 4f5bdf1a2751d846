#include "session/shell_places.h"

#include "platform/grown_text.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace orv {

namespace {

// The registry is not case-sensitive: one spelling serves HKCU and HKLM.
constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kMappingKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\system.ini\\boot";

struct PlaceRow {
  HKEY root;
  const char* key;
  bool view32;
};

// In ShellPlace order; kSystemIni is a file.
const PlaceRow kPlaceRows[] = {
    {HKEY_CURRENT_USER, kWinlogon, false},
    {HKEY_LOCAL_MACHINE, kWinlogon, false},
    {HKEY_LOCAL_MACHINE, kWinlogon, true},
    {HKEY_LOCAL_MACHINE, kMappingKey, false},
    {HKEY_LOCAL_MACHINE, kMappingKey, true},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", false},
};

// The view flag for a machine place: only on 64-bit Windows, whose registry
// has two; elsewhere the system's own view, and no flag.
REGSAM viewOf(const ShellSystem& system, unsigned place) {
  if (!system.twoViews || kPlaceRows[place].root != HKEY_LOCAL_MACHINE) return 0;
  return kPlaceRows[place].view32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

void appendRootName(AString& out, HKEY root) {
  out.append(root == HKEY_LOCAL_MACHINE ? ByteView("HKLM\\") : ByteView("HKCU\\"));
}

// "\n" ends a line of an .ini file, so no value holds one: the answer where
// there is none.
constexpr char kNoIniValue[] = "\n";

}  // namespace

ShellSystem shellSystemOf() {
  ShellSystem system;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  sys::getVersionEx(&version);
  system.nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  system.readsMapping = system.nt && version.dwMajorVersion < 6;
  // XP (5.1) is the first Windows with a 64-bit edition; 2000 calls the view
  // flags invalid, and neither it nor NT 4.0 is ever asked. The x86 exe on
  // ARM64 Windows hears "no WOW64" from IsWow64Process: IsWow64Process2 is
  // asked first.
  bool sinceXp = version.dwMajorVersion * 100 + version.dwMinorVersion >= 501;
  USHORT process, native;
  BOOL wow64 = FALSE;
  bool answered = sys::isWow64Process2(&process, &native);
  system.twoViews = system.nt && sinceXp &&
                    (sizeof(void*) == 8 || (answered ? native != IMAGE_FILE_MACHINE_I386
                                                     : sys::isWow64Process(&wow64) && wow64));
  return system;
}

bool placeOnSystem(const ShellSystem& system, unsigned place) {
  if (place == kSystemIni || !system.nt) return place == kSystemIni && !system.nt;
  return system.twoViews || !kPlaceRows[place].view32;
}

bool placeInScope(const ShellSystem& system, unsigned place, ShellScope scope) {
  if (!placeOnSystem(system, place) || place == kPolicy) return false;
  if (!system.nt || scope == ShellScope::machine) return place != kUserShell;
  // The user's own value, and the mapping where Windows reads that (not on
  // Vista and later: community knowledge, see README.txt).
  return place == kUserShell || (system.readsMapping && place >= kMapping);
}

void appendPlaceName(AString& out, const ShellSystem& system, unsigned place) {
  if (place == kSystemIni) {
    out.append("SYSTEM.INI [boot] shell");
    return;
  }
  const PlaceRow& row = kPlaceRows[place];
  appendRootName(out, row.root);
  out.append(ByteView::ofCString(row.key)).append("\\Shell");
  if (REGSAM view = viewOf(system, place))
    out.append(view == KEY_WOW64_32KEY ? ByteView(" (32-bit view)") : ByteView(" (64-bit view)"));
}

LONG readPlace(const ShellSystem& system, unsigned place, RecordedValue& value) {
  LONG error;
  if (place == kSystemIni) {
    value.text = askGrowing([](char* buffer, DWORD size, const void*) -> DWORD {
      DWORD n = sys::getProfileString("boot", "shell", kNoIniValue, buffer, size, "system.ini");
      return n + 1 == size ? size : n;  // filled: it may have been cut short
    });
    error = value.text.view() == kNoIniValue ? ERROR_FILE_NOT_FOUND : 0;
    value.expand = false;
  } else {
    const PlaceRow& row = kPlaceRows[place];
    RegistryValue read = readRegistryValue(row.root, row.key, "Shell", viewOf(system, place));
    error = read.error;
    if (!error && read.type != REG_SZ && read.type != REG_EXPAND_SZ) error = ERROR_INVALID_DATA;
    value.expand = read.type == REG_EXPAND_SZ;
    value.text = static_cast<AString&&>(read.bytes);
  }
  if (value.text.failed()) error = ERROR_NOT_ENOUGH_MEMORY;
  value.there = !error;
  if (error) value.text = AString();
  return error;
}

LONG mayWritePlace(const ShellSystem& system, unsigned place) {
  if (place == kSystemIni) return 0;  // 95/98/Me: no permissions
  const PlaceRow& row = kPlaceRows[place];
  return mayWriteRegistryKey(row.root, row.key, viewOf(system, place));
}

LONG writePlace(const ShellSystem& system, unsigned place, const RecordedValue& value) {
  if (place != kSystemIni) {
    const PlaceRow& row = kPlaceRows[place];
    RegistryValue written;
    written.error = value.there ? 0 : ERROR_FILE_NOT_FOUND;
    written.type = value.expand ? REG_EXPAND_SZ : REG_SZ;
    written.bytes.assign(value.text);
    return writeRegistryValue(row.root, row.key, "Shell", viewOf(system, place), written);
  }
  if (!sys::writeProfileString("boot", "shell", value.there ? value.text.c_str() : nullptr,
                               "system.ini"))
    return ERROR_WRITE_FAULT;
  // With no arguments but the file, the call writes out what 95 keeps of the
  // file in memory (Microsoft, "WritePrivateProfileString"); the reading back
  // says whether the file holds what was written.
  sys::writeProfileString(nullptr, nullptr, nullptr, "system.ini");
  RecordedValue back;
  readPlace(system, place, back);
  return back.there == value.there && back.text.view() == value.text.view() ? 0
                                                                            : ERROR_INVALID_DATA;
}

void appendValueToSet(AString& out, const ShellSystem& system, unsigned place, ShellScope scope,
                      ByteView exe) {
  if (place == kMapping || place == kMapping32) {
    // Windows' own for the machine's value; USR: for every user's own.
    out.append(scope == ShellScope::user ? ByteView("USR:Software\\") : ByteView("SYS:"))
        .append("Microsoft\\Windows NT\\CurrentVersion\\Winlogon");
    return;
  }
  // A command line: quoted, as CreateProcess asks of a path with blanks.
  // SYSTEM.INI's line is taken as it is, the 8.3 path that 95 needs.
  ByteView quote = system.nt ? ByteView("\"") : ByteView();
  out.append(quote).append(exe).append(quote);
}

RecordKey recordKeyOf(const ShellSystem& system, ShellScope scope) {
  // 95/98/Me have one shell, the machine's.
  if (scope == ShellScope::user && system.nt)
    return {HKEY_CURRENT_USER, "Software\\Orvalix\\Shell", 0};
  return {HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvalix\\Shell",
          static_cast<REGSAM>(system.twoViews ? KEY_WOW64_64KEY : 0)};
}

void appendRecordKeyName(AString& out, const RecordKey& key) {
  appendRootName(out, key.root);
  out.append(ByteView::ofCString(key.path));
}

}  // namespace orv
