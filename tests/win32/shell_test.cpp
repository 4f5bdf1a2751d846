#include <gtest/gtest.h>

#include "fake_system.h"
#include "session/shell_command.h"
#include "test_util.h"

namespace {

constexpr char kWinlogon[] =
    "Software\\Orvalix Tests\\HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// What only the seam shows: which systems get the registry view flags, and
// what a key Orvalix may not write, a failing write or an earlier Orvalix's
// volatile key leave behind. The registry is the stand-in's own.
TEST(Shell, ViewsRefusalsAndPuttingBack) {
  testutil::InTempDir dir;  // where the command's log lines go
  struct {
    const char* name;
    DWORD major, minor;
    USHORT nativeMachine;  // IsWow64Process2; 0: missing
    int wow64;             // IsWow64Process; -1: missing
    const char* command;
    int code;
    int views;  // 1: both flags given, 0: none, -1: either
    const char* denied = nullptr;
    const char* failing = nullptr;
    bool volatileKey = false;    // HKCU\Software\Orvalix as an earlier Orvalix left it
    const char* undo = nullptr;  // then: it puts back what was there (nothing)
  } cases[] = {
      // clang-format off
      {"2000, told it is WOW64: no flag", 5, 0, 0, 1, "/shell set machine", 0, 0},
      {"NT 4.0: no flag; the record holds both names", 4, 0, 0, -1, "/shell set machine", 0, 0, nullptr, nullptr, false, "/shell undo machine"},
      {"x86 exe on ARM64: IsWow64Process2 tells", 10, 0, 0xAA64, 0, "/shell set machine", 0, 1},
      {"32-bit XP: none for the x86 exe", 5, 1, 0, 0, "/shell show", 0, sizeof(void*) == 8},
      {"XP: the mapping may not be written: nothing is", 5, 1, 0, 0, "/shell set user", 2, -1, "IniFileMapping"},
      {"a write fails: what was written is put back", 10, 0, 0, -1, "/shell set machine", 6, -1, nullptr, "SYS:"},
      {"an earlier Orvalix's volatile key: log off first", 10, 0, 0, -1, "/shell set user", 6, -1, nullptr, nullptr, true},
      // clang-format on
  };
  for (auto& c : cases) {
    fake::reset();
    testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Orvalix Tests");
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvalix Tests\\HKCU\\Software", 0, nullptr, 0,
                    KEY_READ, nullptr, &key, nullptr);
    RegCloseKey(key);
    if (c.volatileKey &&
        !RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvalix Tests\\HKCU\\Software\\Orvalix", 0,
                         nullptr, REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr))
      RegCloseKey(key);
    fake::script.platformId = VER_PLATFORM_WIN32_NT;
    fake::script.majorVersion = c.major, fake::script.minorVersion = c.minor;
    fake::script.nativeMachine = c.nativeMachine, fake::script.wow64 = c.wow64;
    if (c.denied) fake::script.registryWritesDenied = {c.denied};
    if (c.failing) fake::script.failWritesOf = c.failing;
    orv::ByteView tail = orv::ByteView::ofCString(c.command);
    int code = orv::runShellCommand(orv::shellRequestOf(tail), tail);
    EXPECT_EQ(code, c.code) << c.name << "\n" << fake::calls.back();
    bool flagged = false, flagless = false, wrote = false;
    for (auto& call : fake::calls) {
      size_t mask = call.rfind(' ');
      bool key = call.find("RegOpenKeyExA HKLM") == 0 || call.find("RegCreateKeyExA HKLM") == 0;
      unsigned long access = key ? std::stoul(call.substr(mask + 1), nullptr, 16) : 0;
      (access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY) ? flagged : flagless) |= key;
      wrote |= call.find("RegSetValueExA") == 0;
    }
    EXPECT_EQ(flagged, c.views < 0 ? flagged : c.views == 1) << c.name;
    EXPECT_FALSE(c.views == 1 && flagless) << c.name;
    EXPECT_FALSE(c.denied && wrote) << c.name;
    // What was written is gone again: the machine's value and the record.
    for (const char* place : {kWinlogon, "Software\\Orvalix Tests\\HKLM\\SOFTWARE\\Orvalix\\Shell"})
      if (c.failing && !RegOpenKeyExA(HKEY_CURRENT_USER, place, 0, KEY_READ, &key)) {
        EXPECT_NE(RegQueryValueExA(key, "Shell", nullptr, nullptr, nullptr, nullptr), 0) << place;
        RegCloseKey(key);
      }
    if (c.undo) {
      tail = orv::ByteView::ofCString(c.undo);
      EXPECT_EQ(orv::runShellCommand(orv::shellRequestOf(tail), tail), 0) << c.name;
      EXPECT_NE(RegGetValueA(HKEY_CURRENT_USER, kWinlogon, "Shell", RRF_RT_ANY, nullptr, nullptr,
                             nullptr),
                0)
          << c.name;
    }
    EXPECT_NE(fake::calls.back().find(c.volatileKey ? "error 1021" : ""), std::string::npos)
        << c.name;
  }
}

}  // namespace
