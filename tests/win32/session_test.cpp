#include <gtest/gtest.h>

#include "fake_system.h"
#include "session/session.h"
#include "session/shell_ready.h"
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
const std::vector<std::string> kLogoffRefusal = {kLogoffRefused};
const std::vector<std::string> kStandbyRefusal = {
    "MessageBoxA 0 [Talvermoor] [Can't get shutdown privileges, not standing by.] 0"};

class Session : public ::testing::Test {
 protected:
  void SetUp() override { fake::reset(); }
  // Each request line notes the log as it stood when the request was made.
  void noteLogAtRequests() {
    fake::script.onCall = [this](const std::string& line) {
      if (line.rfind("ExitWindowsEx", 0) == 0 || line.rfind("SetSystemPowerState", 0) == 0) {
        auto lines = logMessages(dir / "Orvalix.log");
        fake::calls.push_back("log: " + (lines.empty() ? std::string("none") : lines.back()));
      }
    };
  }
  InTempDir dir;
};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNT = VER_PLATFORM_WIN32_NT;
// What the request asks before it is made: the platform, and on NT the privilege.
const std::vector<std::string> k9xAsks = {kVersion};
const std::vector<std::string> kNTAsks = {kVersion, kOpen, kLookup, kAdjust, kClose};

// The request and the log's last line when it was made.
std::vector<std::string> exitRequest(int flags) {
  return {"ExitWindowsEx " + std::to_string(16 + flags) + " ffffffff",
          "log: exitWindows: ExitWindowsEx code  " + std::to_string(flags)};
}
const std::vector<std::string> kStandbyRequest = {"SetSystemPowerState -1 0",
                                                  "log: goToStandby: Standing by"};

TEST_F(Session, ExitWindowsOnBothFamilies) {
  struct {
    const char* name;
    DWORD platform = kNT;
    int open = 1, lookup = 1, adjust = 1;
    DWORD adjustError = 0;
    BOOL exitResult = TRUE;
    DWORD exitError = 0;
    int flags = 0, result = 1;
    std::vector<std::string> calls;
    const char* after = nullptr;  // the log's last line
  } cases[] = {
      // clang-format off
      {.name = "9x logoff: no token call", .platform = k9x, .calls = k9xAsks + exitRequest(0)},
      {.name = "platform 0 counts as 9x", .platform = VER_PLATFORM_WIN32s, .flags = 1, .calls = k9xAsks + exitRequest(1)},
      {.name = "NT restart", .flags = 2, .calls = kNTAsks + exitRequest(2)},
      {.name = "NT: privilege not held still counts", .adjustError = ERROR_NOT_ALL_ASSIGNED, .flags = 1, .calls = kNTAsks + exitRequest(1)},
      {.name = "NT: token not opened, nothing to close", .open = 0, .result = 0, .calls = {kVersion, kOpen, kLogoffRefused}},
      {.name = "NT: lookup fails, token closed", .lookup = 0, .result = 0, .calls = {kVersion, kOpen, kLookup, kClose, kLogoffRefused}},
      {.name = "NT: adjust fails, token closed", .adjust = 0, .flags = 1, .result = 0, .calls = kNTAsks + kLogoffRefusal},
      // The texts are Wine's; Windows words them differently.
      {.name = "refused request keeps its line", .platform = k9x, .exitResult = FALSE, .exitError = ERROR_PRIVILEGE_NOT_HELD, .flags = 1, .result = 0, .calls = k9xAsks + exitRequest(1),
       .after = "exitWindows: ExitWindowsEx refused: error 1314 (Privilege not held.)"},
      {.name = "refused, the system has no text", .exitResult = FALSE, .exitError = 0x20000001, .result = 0, .calls = kNTAsks + exitRequest(0),
       .after = "exitWindows: ExitWindowsEx refused: error 536870913"},
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
    // The last line logged; a missing privilege logs nothing.
    std::vector<std::string> log = logMessages(dir / "Orvalix.log");
    std::string last = c.after ? c.after : c.result ? c.calls.back().substr(5) : "none";
    EXPECT_EQ(log.empty() ? "none" : log.back(), last) << c.name;
  }
}

TEST_F(Session, StandbyOnBothFamilies) {
  struct {
    const char* name;
    DWORD platform = k9x;
    int adjust = 1;
    bool missing = false;
    std::vector<std::string> calls;
    DWORD powerError = 0;  // with SetSystemPowerState answering FALSE
    const char* refusal = nullptr;
  } cases[] = {
      // clang-format off
      {.name = "9x", .calls = k9xAsks + kStandbyRequest},
      {.name = "NT", .platform = kNT, .calls = kNTAsks + kStandbyRequest},
      {.name = "NT refused", .platform = kNT, .adjust = 0, .calls = kNTAsks + kStandbyRefusal},
      {.name = "no SetSystemPowerState in kernel32", .missing = true, .calls = k9xAsks,
       .refusal = "goToStandby: SetSystemPowerState refused: error 120 (Call not implemented.)"},
      {.name = "refused: a driver vetoes", .calls = k9xAsks + kStandbyRequest, .powerError = ERROR_GEN_FAILURE,
       .refusal = "goToStandby: SetSystemPowerState refused: error 31 (General failure.)"},
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
  EXPECT_EQ(fake::calls, kNTAsks + std::vector<std::string>(kNTAsks.begin() + 1, kNTAsks.end()));

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

// The logon side's events: each by the session's own name, else by its
// Global\ name; set and closed; never made; nothing to say on 9x.
TEST_F(Session, ShellReadyEvents) {
  const std::string kSwitch = "OpenEventA [ShellDesktopSwitchEvent]",
                    kGlobalSwitch = "OpenEventA [Global\\ShellDesktopSwitchEvent]",
                    kReady = "OpenEventA [msgina: ShellReadyEvent]",
                    kGlobalReady = "OpenEventA [Global\\msgina: ShellReadyEvent]";
  const std::vector<std::string> kSet = {"SetEvent", kClose};
  struct {
    const char* name;
    DWORD platform;
    std::set<std::string> events;
    std::vector<std::string> calls;
  } cases[] = {
      // clang-format off
      {"none exists", kNT, {}, {kVersion, kSwitch, kGlobalSwitch, kReady, kGlobalReady}},
      {"Vista and later", kNT, {"ShellDesktopSwitchEvent"}, std::vector{kVersion, kSwitch} + kSet + std::vector{kReady, kGlobalReady}},
      {"both, the Global names not asked", kNT, {"ShellDesktopSwitchEvent", "msgina: ShellReadyEvent", "Global\\msgina: ShellReadyEvent"},
       std::vector{kVersion, kSwitch} + kSet + std::vector{kReady} + kSet},
      {"only Global names", kNT, {"Global\\ShellDesktopSwitchEvent", "Global\\msgina: ShellReadyEvent"},
       std::vector{kVersion, kSwitch, kGlobalSwitch} + kSet + std::vector{kReady, kGlobalReady} + kSet},
      {"9x", k9x, {"ShellDesktopSwitchEvent"}, {kVersion}},
      // clang-format on
  };
  for (auto& c : cases) {
    fake::reset();
    fake::script.platformId = c.platform;
    fake::script.events = c.events;
    orv::signalShellReady();
    EXPECT_EQ(fake::calls, c.calls) << c.name;
  }
}

}  // namespace
