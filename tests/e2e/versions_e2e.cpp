#include <gtest/gtest.h>

#include "driver.h"
#include "ui/control_dialog.h"

using namespace e2e;
using namespace testutil;
using namespace orv;

namespace {

// Wine reports a Windows version per program name, read at process start.
void reportVersionTo(const std::string& exeName, const char* version) {
  std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                 static_cast<DWORD>(strlen(version) + 1));
  RegCloseKey(k);
}

// 1 when the process has SeShutdownPrivilege enabled in its token, 0 when not,
// -1 when its token cannot be read: the NT branch enables it before each
// request, the 9x branch never touches the token (Wine keeps one for it).
int shutdownPrivilegeEnabled(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId), token = nullptr;
  PRIVILEGE_SET check = {1, PRIVILEGE_SET_ALL_NECESSARY, {}};
  BOOL enabled = FALSE;
  bool read = process && OpenProcessToken(process, TOKEN_QUERY, &token) &&
              LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &check.Privilege[0].Luid) &&
              PrivilegeCheck(token, &check, &enabled);
  if (token) CloseHandle(token);
  if (process) CloseHandle(process);
  return read ? enabled != FALSE : -1;
}

// A copy of this exe started with this switch under Orvalix's name exits at
// once, before the test runner starts, with what GetVersionExA tells a
// program of that name: major * 10000 + minor * 100 + platform id.
constexpr char kReportVersion[] = "--exit-with-reported-version";
const bool kReportingOnly = [] {
  if (!strstr(GetCommandLineA(), kReportVersion)) return false;
  OSVERSIONINFOA v = {sizeof v, 0, 0, 0, 0, ""};
  GetVersionExA(&v);
  ExitProcess(v.dwMajorVersion * 10000 + v.dwMinorVersion * 100 + v.dwPlatformId);
}();

// Standby answered Yes under every Windows version Wine can report: the
// platform family picks the branch; either way the line is written, no
// refusal box comes and the dialog stays.
TEST(Versions, StandbyOnEveryReportedVersion) {
  struct {
    const char* version;
    DWORD reported;  // major * 10000 + minor * 100 + platform id
    bool ntBranch;
    bool x64;  // there was an x86-64 Windows of this version: the x64 build runs as it
  } rows[] = {
      {"win95", 40001, false, false}, {"win98", 41001, false, false},
      {"winme", 49001, false, false}, {"nt40", 40002, true, false},
      {"win2k", 50002, true, false},  {"winxp", 50102, true, false},
      {"winxp64", 50202, true, true}, {"win7", 60102, true, true},
      {"win10", 60202, true, true},  // 6.2: no manifest claims Windows 10
  };
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  for (auto& r : rows) {
    if (sizeof(void*) == 8 && !r.x64) continue;
    std::string name = std::string("orvalix_") + r.version + ".exe";
    reportVersionTo(name, r.version);
    Install install(name.c_str());
    TempDir cwd, probeDir;
    ASSERT_TRUE(CopyFileA(self, (probeDir / name).c_str(), FALSE));
    Process probe(probeDir / name, kReportVersion, cwd.path());
    Process p(install.exe(), "nostartup", cwd.path());
    HWND dialog = waitWindow(p.id(), "#32770", "Orvalix");
    ASSERT_TRUE(dialog) << r.version;
    EXPECT_EQ(shutdownPrivilegeEnabled(p.id()), 0) << r.version << ": not before the request";
    click(GetDlgItem(dialog, IDC_STANDBY));
    HWND box = waitWindow(p.id(), "#32770", "Standby?");
    ASSERT_TRUE(box) << r.version;
    click(GetDlgItem(box, IDYES));
    EXPECT_TRUE(waitFor([&] { return completeLines(cwd / "Orvalix.log") == 1; })) << r.version;
    EXPECT_EQ(logMessages(cwd / "Orvalix.log"),
              std::vector<std::string>{"goToStandby: Standing by"})
        << r.version;
    EXPECT_EQ(shutdownPrivilegeEnabled(p.id()), r.ntBranch ? 1 : 0) << r.version << ": branch";
    EXPECT_EQ(probe.waitExit(15000), r.reported) << r.version;
    EXPECT_TRUE(p.running() && IsWindow(dialog)) << r.version << ": the dialog stays";
    EXPECT_EQ(topWindows(p.id()).size(), 1u) << r.version << ": no refusal box";
    click(GetDlgItem(dialog, IDC_EXIT));
    EXPECT_EQ(p.waitExit(10000), 0u) << r.version;
    RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + name).c_str());
  }
}

}  // namespace
