#include <gtest/gtest.h>

#include "fake_system.h"
#include "session/session.h"
#include "test_util.h"

using namespace testutil;

namespace {

const std::string kVersion = "GetVersionExA 148";
const std::string kOpen = "OpenProcessToken self 28";
const std::string kLookup = "LookupPrivilegeValueA null SeShutdownPrivilege";
const std::string kAdjust = "AdjustTokenPrivileges 0 count 1 luid 19 attr 2 0";
const std::string kClose = "CloseHandle";
const std::string kLogoffRefused =
    "MessageBoxA 0 [Talvermoor] [Can't get shutdown privileges, not shutting down.] 0";
const std::string kStandbyRefused =
    "MessageBoxA 0 [Talvermoor] [Can't get shutdown privileges, not standing by.] 0";

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    SetCurrentDirectoryA(dir.path().c_str());
  }
  // Each request line notes the log as it stood when the request was made.
  void noteLogAtRequests() {
    fake::script.onCall = [this](const std::string& line) {
      if (line.rfind("ExitWindowsEx", 0) == 0 || line.rfind("SetSystemPowerState", 0) == 0) {
        auto lines = logMessages(dir / "Orvalix.log");
        fake::calls.push_back("log: " + (lines.empty() ? std::string("none") : lines.back()));
      }
    };
  }
  KeepCurrentDir keep;
  TempDir dir;
};

TEST_F(Session, ExitWindowsOnBothFamilies) {
  struct {
    const char* name;
    DWORD platform;
    int open, lookup, adjust;
    DWORD adjustError;
    BOOL exitResult;
    int flags;
    int result;
    std::vector<std::string> calls;
    DWORD exitError = 0;
    const char* after = nullptr;  // the log's last line
  } cases[] = {
      // clang-format off
      {"9x logoff: no token call", 1, 1, 1, 1, 0, TRUE, 0, 1,
       {kVersion, "ExitWindowsEx 16 ffffffff", "log: exitWindows: ExitWindowsEx code  0"}},
      {"platform 0 counts as 9x", 0, 1, 1, 1, 0, TRUE, 1, 1,
       {kVersion, "ExitWindowsEx 17 ffffffff", "log: exitWindows: ExitWindowsEx code  1"}},
      {"NT restart", 2, 1, 1, 1, 0, TRUE, 2, 1,
       {kVersion, kOpen, kLookup, kAdjust, kClose, "ExitWindowsEx 18 ffffffff",
        "log: exitWindows: ExitWindowsEx code  2"}},
      {"NT: privilege not held still counts", 2, 1, 1, 1, ERROR_NOT_ALL_ASSIGNED, TRUE, 1, 1,
       {kVersion, kOpen, kLookup, kAdjust, kClose, "ExitWindowsEx 17 ffffffff",
        "log: exitWindows: ExitWindowsEx code  1"}},
      {"NT: token not opened, nothing to close", 2, 0, 1, 1, 0, TRUE, 0, 0,
       {kVersion, kOpen, kLogoffRefused}},
      {"NT: lookup fails, token closed", 2, 1, 0, 1, 0, TRUE, 0, 0,
       {kVersion, kOpen, kLookup, kClose, kLogoffRefused}},
      {"NT: adjust fails, token closed", 2, 1, 1, 0, 0, TRUE, 1, 0,
       {kVersion, kOpen, kLookup, kAdjust, kClose, kLogoffRefused}},
      {"refused request keeps its line", 1, 1, 1, 1, 0, FALSE, 1, 0,
       {kVersion, "ExitWindowsEx 17 ffffffff", "log: exitWindows: ExitWindowsEx code  1"},
       ERROR_PRIVILEGE_NOT_HELD,  // the text is Wine's; Windows words it differently
       "exitWindows: ExitWindowsEx refused: error 1314 (Privilege not held.)"},
      {"refused, the system has no text", 2, 1, 1, 1, 0, FALSE, 0, 0,
       {kVersion, kOpen, kLookup, kAdjust, kClose, "ExitWindowsEx 16 ffffffff",
        "log: exitWindows: ExitWindowsEx code  0"},
       0x20000001, "exitWindows: ExitWindowsEx refused: error 536870913"},
      // clang-format on
  };
  for (auto& c : cases) {
    fake::reset();
    DeleteFileA("Orvalix.log");
    fake::script.platformId = c.platform;
    fake::script.openToken = c.open;
    fake::script.lookup = c.lookup;
    fake::script.adjust = c.adjust;
    fake::script.adjustLastError = c.adjustError;
    fake::script.exitResult = c.exitResult;
    fake::script.exitLastError = c.exitError;
    noteLogAtRequests();
    EXPECT_EQ(orv::exitWindows(c.flags), c.result) << c.name;
    EXPECT_EQ(fake::calls, c.calls) << c.name;
    if (c.after) {
      EXPECT_EQ(logMessages(dir / "Orvalix.log").back(), c.after) << c.name;
    }
    if (!c.result && c.calls.back() == kLogoffRefused) {
      EXPECT_FALSE(exists(dir / "Orvalix.log")) << c.name << ": a refusal is not logged";
    }
  }
}

TEST_F(Session, StandbyOnBothFamilies) {
  struct {
    const char* name;
    DWORD platform;
    int adjust;
    bool missing;
    std::vector<std::string> calls;
    DWORD powerError = 0;  // with SetSystemPowerState answering FALSE
    const char* refusal = nullptr;
  } cases[] = {
      // clang-format off
      {"9x", 1, 1, false, {kVersion, "SetSystemPowerState -1 0", "log: goToStandby: Standing by"}},
      {"NT", 2, 1, false,
       {kVersion, kOpen, kLookup, kAdjust, kClose, "SetSystemPowerState -1 0",
        "log: goToStandby: Standing by"}},
      {"NT refused", 2, 0, false, {kVersion, kOpen, kLookup, kAdjust, kClose, kStandbyRefused}},
      {"no SetSystemPowerState in kernel32", 1, 1, true, {kVersion}},
      {"refused: a driver vetoes", 1, 1, false,
       {kVersion, "SetSystemPowerState -1 0", "log: goToStandby: Standing by"},
       ERROR_GEN_FAILURE, "goToStandby: SetSystemPowerState refused: error 31 (General failure.)"},
      // clang-format on
  };
  for (auto& c : cases) {
    fake::reset();
    DeleteFileA("Orvalix.log");
    fake::script.platformId = c.platform;
    fake::script.openToken = fake::script.lookup = 1;
    fake::script.adjust = c.adjust;
    fake::script.powerFunctionMissing = c.missing;
    fake::script.powerResult = !c.refusal;
    fake::script.powerLastError = c.powerError;
    noteLogAtRequests();
    orv::goToStandby();
    EXPECT_EQ(fake::calls, c.calls) << c.name;
    std::vector<std::string> logged;
    if (c.adjust) logged.push_back("goToStandby: Standing by");
    if (c.refusal) logged.push_back(c.refusal);
    EXPECT_EQ(logMessages(dir / "Orvalix.log"), logged) << c.name;
  }
}

// The real system: Wine reports the NT family by default and 9x to programs
// registered as Windows 98; the privilege really gets enabled.
TEST_F(Session, RealPlatformCheckAndPrivilege) {
  EXPECT_EQ(orv::isWindowsNT(), -1);
  EXPECT_NE(orv::getShutdownPrivilege(), 0);
  EXPECT_NE(orv::getShutdownPrivilege(), 0);  // a second time, already enabled
  EXPECT_EQ(fake::calls, (std::vector<std::string>{kVersion, kOpen, kLookup, kAdjust, kClose, kOpen,
                                                   kLookup, kAdjust, kClose}));

  HANDLE token;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  PRIVILEGE_SET check = {1, PRIVILEGE_SET_ALL_NECESSARY, {}};
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &check.Privilege[0].Luid));
  BOOL enabled = FALSE;
  ASSERT_TRUE(PrivilegeCheck(token, &check, &enabled));
  CloseHandle(token);
  EXPECT_TRUE(enabled);

  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string probe = std::string(self).substr(0, std::string(self).rfind('\\') + 1);
  struct {
    const char* exe;
    DWORD code;
  } cases[] = {{"version_probe.exe", 1}, {"version_probe98.exe", 0}};
  for (auto& c : cases) {
    std::string path = probe + c.exe;
    if (std::string(c.exe) != "version_probe.exe") {
      ASSERT_TRUE(CopyFileA((probe + "version_probe.exe").c_str(), path.c_str(), FALSE));
    }
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, c.code) << c.exe;
  }
}

}  // namespace
