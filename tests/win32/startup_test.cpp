#include <gtest/gtest.h>

#include <algorithm>

#include "../bytes.h"
#include "fake_system.h"
#include "platform/process_state.h"
#include "startup/program_directory.h"
#include "startup/run_list.h"
#include "startup/startup.h"
#include "test_util.h"

using namespace testutil;

namespace {

// The Startup folder is the one beside this test program, as it is beside
// Orvalix.exe in use.
class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    forgetLogonRuns();
    folder = str(orv::programDirectory()) + "\\Startup";
    removeTree(folder);
    SetCurrentDirectoryA(before.path().c_str());
    orv::commandTail = orv::ByteView();
  }
  void TearDown() override {
    SetCurrentDirectoryA(before.path().c_str());
    removeTree(folder);
  }
  void makeFolder(std::initializer_list<const char*> files) {
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const char* f : files) writeFile(folder + "\\" + f, "x");
  }
  // What a start asks before it runs the folder, on the NT family: Safe
  // Mode, the log-on session's mark, Shift once the user's desktop has the
  // input; and how it marks the run once the folder is listed.
  std::string markName() {
    orv::AString runName;
    orv::appendStartupRunName(runName, orv::AString(viewOf(folder)));
    return "Logons\\Logon 000000000001A2B3 " + str(runName);
  }
  std::vector<std::string> checks() {
    return {"GetSystemMetrics 67",
            "GetVersionExA 148",
            "OpenProcessToken self 8",
            "GetTokenInformation 18 4",
            "GetTokenInformation 10 " + std::to_string(sizeof(TOKEN_STATISTICS)),
            "CloseHandle",
            "RegOpenKeyExA HKCU [Software\\Orvalix\\" + markName() + "] 1",
            "GetVersionExA 148",
            "WindowStationVisible",
            "OpenInputDesktop",
            "GetAsyncKeyState 16",
            "RegCreateKeyExA HKCU [Software\\Orvalix] 4",
            "RegCreateKeyExA key [" + markName() + "] volatile 1"};
  }
  std::vector<std::string> launched() {
    std::vector<std::string> files;
    for (auto& c : fake::calls)
      if (c.rfind("ShellExecuteA 5 [", 0) == 0)
        files.push_back(c.substr(18 + folder.size(), c.find(']') - 18 - folder.size()));
    return files;
  }
  KeepCurrentDir keep;
  TempDir before;
  std::string folder;
};

TEST_F(Startup, OpensShortcutsInByteOrderSkippingDisabledHiddenSystemAndFolders) {
  makeFolder({"b.lnk", "C.lnk", "a.lnk", "9.lnk", "10.lnk", "Disabled Mail.lnk", "DISABLEDx.lnk",
              "disable.lnk", "My disabled.lnk", "hidden.lnk", "system.lnk", "notes.txt"});
  SetFileAttributesA((folder + "\\hidden.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((folder + "\\system.lnk").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(CreateDirectoryA((folder + "\\x.lnk").c_str(), nullptr));
  orv::runStartup();
  std::vector<std::string> order = {"10.lnk", "9.lnk", "C.lnk",      "My disabled.lnk",
                                    "a.lnk",  "b.lnk", "disable.lnk"};
  EXPECT_EQ(launched(), order);
  // After the checks, the default DLL search path, and the Startup folder
  // current and the working folder for what starts.
  std::vector<std::string> calls = checks();
  for (auto& name : order)
    calls.insert(calls.end(), {"SetDllDirectoryA null",
                               fake::shellCall(folder + "\\" + name, folder + "\\", folder)});
  EXPECT_EQ(fake::calls, calls);
  EXPECT_EQ(currentDir(), before.path());
  std::vector<std::string> log = {"runStartup: Executing startup"};
  for (auto& name : order) log.push_back("launchProgram: " + name + ": Opened.");
  EXPECT_EQ(logMessages(folder + "\\Orvalix.log"), log);
  EXPECT_FALSE(exists(before / "Orvalix.log"));
}

TEST_F(Startup, RunsThatOpenNothing) {
  struct {
    const char* name;
    std::initializer_list<const char*> files;  // no folder when it holds "-"
    DWORD folderAttributes = 0;
    const char* tail = "";
    bool logged = false;
  } cases[] = {
      // clang-format off
      {.name = "no Startup folder", .files = {"-"}},
      {.name = "nostartup", .files = {"a.lnk"}, .tail = "/NoStartup"},
      {.name = "no shortcuts", .files = {"readme.txt"}, .logged = true},
      {.name = "all disabled", .files = {"disabled.lnk", "DisabledB.lnk"}, .tail = "no startup", .logged = true},
      {.name = "hidden folder", .files = {"a.lnk"}, .folderAttributes = FILE_ATTRIBUTE_HIDDEN},
      {.name = "system folder", .files = {"a.lnk"}, .folderAttributes = FILE_ATTRIBUTE_SYSTEM},
      // clang-format on
  };
  for (auto& c : cases) {
    fake::reset();
    forgetLogonRuns();
    removeTree(folder);
    if (std::string(*c.files.begin()) != "-") makeFolder(c.files);
    if (c.folderAttributes) SetFileAttributesA(folder.c_str(), c.folderAttributes);
    orv::commandTail = orv::ByteView::ofCString(c.tail);
    orv::runStartup();
    EXPECT_EQ(fake::calls, c.logged ? checks() : std::vector<std::string>{}) << c.name;
    EXPECT_EQ(currentDir(), before.path()) << c.name;
    EXPECT_FALSE(exists(before / "Orvalix.log")) << c.name;
    EXPECT_EQ(logMessages(folder + "\\Orvalix.log"),
              c.logged ? std::vector<std::string>{"runStartup: Executing startup"}
                       : std::vector<std::string>{})
        << c.name;
  }
}

TEST_F(Startup, PlainFileNamedStartupIsReportedAndLoggedWhereWeWere) {
  writeFile(folder, "not a folder");
  orv::runStartup();
  const std::string text = "Error  75 in runStartup: Path/file access error";
  EXPECT_EQ(fake::calls, std::vector<std::string>{"MessageBoxA 0 [Talvermoor] [" + text + "] 0"});
  EXPECT_EQ(logMessages(before / "Orvalix.log"), std::vector<std::string>{"runStartup: " + text});
  EXPECT_EQ(currentDir(), before.path());
}

TEST_F(Startup, SavedDirectoryRemovedDuringTheRun) {
  makeFolder({"a.lnk", "b.lnk"});
  TempDir saved;
  std::string savedPath = saved.path();
  SetCurrentDirectoryA(savedPath.c_str());
  fake::script.onCall = [&](const std::string& line) {
    if (line.find("\\a.lnk]") != std::string::npos) removeTree(savedPath);
  };
  orv::runStartup();
  const std::string text = "Error  76 in runStartup: Path not found";
  EXPECT_EQ(launched(), (std::vector<std::string>{"a.lnk", "b.lnk"}));
  EXPECT_EQ(fake::calls.back(), "MessageBoxA 0 [Talvermoor] [" + text + "] 0");
  EXPECT_EQ(
      logMessages(folder + "\\Orvalix.log"),
      (std::vector<std::string>{"runStartup: Executing startup", "launchProgram: a.lnk: Opened.",
                                "launchProgram: b.lnk: Opened.", "runStartup: " + text}));
  EXPECT_EQ(currentDir(), folder);
}

// The folder emptied and removed under the run (the system keeps the folder
// itself while it is our current directory, or held while the shell works
// from the system folder): the names already listed are
// still asked for, and the directory we started in comes back.
TEST_F(Startup, FolderRemovedWhileItRuns) {
  makeFolder({"a.lnk", "b.lnk", "c.lnk"});
  fake::script.onCall = [&](const std::string& line) {
    if (line.find("\\a.lnk]") != std::string::npos) removeTree(folder);
  };
  orv::runStartup();
  EXPECT_EQ(launched(), (std::vector<std::string>{"a.lnk", "b.lnk", "c.lnk"}));
  EXPECT_TRUE(exists(folder));
  EXPECT_EQ(currentDir(), before.path());
}

TEST_F(Startup, ThousandShortcutsInByteOrderWithinBoundedTime) {
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  std::vector<std::string> names;
  unsigned seed = 12345;
  for (int i = 0; i < 1000; ++i) {
    seed = seed * 1103515245u + 12345u;
    std::string n = std::to_string(seed % 100000) + "_" + std::to_string(i) + ".lnk";
    if (i % 3 == 0) n[0] = static_cast<char>('A' + seed % 26);
    names.push_back(n);
    writeFile(folder + "\\" + n);
  }
  std::sort(names.begin(), names.end());  // std::string orders bytes as unsigned
  DWORD start = GetTickCount();
  orv::runStartup();
  DWORD took = GetTickCount() - start;
  EXPECT_EQ(launched(), names);
  auto log = logMessages(folder + "\\Orvalix.log");
  ASSERT_EQ(log.size(), 1001u);
  for (size_t i = 0; i < names.size(); ++i)
    ASSERT_EQ(log[i + 1], "launchProgram: " + names[i] + ": Opened.");
  EXPECT_LT(took, 20000u);
}

// Names as users make them: a name with "%" that exists is opened as named; a
// name outside the ANSI code page, listed as "?" or as a look-alike ("Ādobe.lnk"
// as "Adobe.lnk", a full-width "%"), or past MAX_PATH once full, by its short
// name; "*.lnk" matches "Mail.lnk_old" through its short name, and it does not run.
TEST_F(Startup, UnusualShortcutNames) {
  std::string longest = std::string(251, 'L') + ".lnk";  // 255 bytes
  makeFolder(
      {"with blanks .lnk", "caf\xe9 \xe0 la carte.lnk", "100%.lnk", "Mail.lnk_old", "Adobe.lnk"});
  std::vector<std::string> order = {"100%.lnk", "Adobe.lnk", "caf\xe9 \xe0 la carte.lnk",
                                    "with blanks .lnk"};
  std::wstring wideNames[] = {wide(longest), L"\u65e5\u672c.lnk", L"\u0100dobe.lnk",
                              L"\uff05WINDIR\uff05x.lnk"};
  for (auto& name : wideNames) order.push_back(makeWideFile(folder, name));
  orv::runStartup();
  std::sort(order.begin(), order.end());
  EXPECT_EQ(launched(), order);
  auto log = logMessages(folder + "\\Orvalix.log");
  ASSERT_EQ(log.size(), 9u);
  for (size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(log[i + 1], "launchProgram: " + order[i] + ": Opened.");
}

// The ways a start leaves the folder alone, each with its line, and the ways
// in which it runs it all the same; each case started twice in one log-on.
TEST_F(Startup, SkippedOrRunAgain) {
  const char *again = "Startup folder already run in this log-on session; skipped",
             *safe = "Startup folder skipped: Safe Mode",
             *shift = "Startup folder skipped: Shift held",
             *noMemory = "Error  7 in runStartup: Out of memory";
  struct {
    const char* name;
    DWORD platform = VER_PLATFORM_WIN32_NT;
    int cleanBoot = 0, tokenInformation = 1;
    int shift = 0, elevated = 0, noMemory = 0;  // in which starts: 1 the first, 2 the second
    std::vector<DWORD> inputDesktopErrors = {};
    unsigned waits = 0;  // 50 ms pauses of the first start before it reads Shift
    bool windowStationVisible = true;
    LONG registryError = 0;
    const char* first = nullptr;   // the first start's line; null: it runs
    const char* second = nullptr;  // the second's
  } cases[] = {
      // clang-format off
      {.name = "once per log-on", .second = again},
      {.name = "Safe Mode", .cleanBoot = 1, .first = safe, .second = safe},
      {.name = "Safe Mode with networking", .cleanBoot = 2, .first = safe, .second = safe},
      {.name = "Shift held: no run, so none marked", .shift = 1, .first = shift},
      {.name = "elevated again: the filtered token's log-on", .elevated = 2, .second = again},
      {.name = "input on our desktop at the third try", .inputDesktopErrors = {5, 5, 0}, .waits = 2, .second = again},
      {.name = "input never on our desktop: Shift read after 5 s", .inputDesktopErrors = {5}, .waits = 100, .second = again},
      {.name = "no display surfaces: nothing to wait for", .inputDesktopErrors = {1}, .windowStationVisible = false, .second = again},
      {.name = "out of memory once the mark was looked for: none made", .noMemory = 1, .first = noMemory},
      {.name = "9x: no mark, every start runs", .platform = VER_PLATFORM_WIN32_WINDOWS},
      {.name = "9x: Shift", .platform = VER_PLATFORM_WIN32_WINDOWS, .shift = 3, .first = shift, .second = shift},
      {.name = "9x: Safe mode", .platform = VER_PLATFORM_WIN32_WINDOWS, .cleanBoot = 1, .first = safe, .second = safe},
      {.name = "locked registry", .registryError = ERROR_ACCESS_DENIED},
      {.name = "no logon id", .tokenInformation = 0},
      // clang-format on
  };
  for (auto& c : cases) {
    forgetLogonRuns();
    removeTree(folder);
    makeFolder({"a.lnk"});
    std::vector<std::string> log;
    for (int start = 1; start <= 2; ++start) {
      const char* line = start == 1 ? c.first : c.second;
      fake::reset();
      fake::script.platformId = c.platform;
      fake::script.cleanBoot = c.cleanBoot;
      fake::script.tokenInformation = c.tokenInformation;
      fake::script.shiftDown = c.shift & start;
      fake::script.inputDesktopErrors = c.inputDesktopErrors;
      fake::script.windowStationVisible = c.windowStationVisible;
      fake::script.registryError = c.registryError;
      fake::script.elevated = c.elevated & start;
      if (c.noMemory & start)
        fake::script.onCall = [](const std::string& call) {  // until the box is up
          fake::script.allocationsFail = call.rfind("GetAsyncKeyState", 0) == 0;
        };
      orv::processState().startupRun.reset();  // as another process
      orv::runStartup();
      EXPECT_EQ(launched(), line ? std::vector<std::string>{} : std::vector<std::string>{"a.lnk"})
          << c.name;
      // A failure is logged where the start was, not in the folder.
      std::string where = line == noMemory ? before / "Orvalix.log" : "";
      EXPECT_EQ(lines(where).size(), where.empty() ? 0u : 1u) << c.name;
      DeleteFileA(where.c_str());
      if (where.empty())
        log.push_back(std::string("runStartup: ") + (line ? line : "Executing startup"));
      if (!line) log.push_back("launchProgram: a.lnk: Opened.");
      auto made = [&](const std::string& call) {
        return unsigned(std::count(fake::calls.begin(), fake::calls.end(), call));
      };
      // A start that finds the run marked neither waits nor reads Shift.
      EXPECT_EQ(made("GetAsyncKeyState 16") == 1, line != again && line != safe) << c.name;
      EXPECT_EQ(made("Sleep 50"), start == 1 ? c.waits : 0) << c.name << start;
      for (auto& call : fake::calls) {
        bool ntOnly = call.find("Token") != std::string::npos || call.find("Reg") == 0 ||
                      call.find("Desktop") != std::string::npos ||
                      call.find("WindowStation") != std::string::npos;
        EXPECT_FALSE(ntOnly && c.platform != VER_PLATFORM_WIN32_NT) << c.name << ": " << call;
      }
    }
    EXPECT_EQ(logMessages(folder + "\\Orvalix.log"), log) << c.name;
    EXPECT_EQ(currentDir(), before.path()) << c.name;
  }
}

// The program's folder lists as a look-alike of another's ("Ādir" as "Adir"):
// the path to its Startup folder is refused, with the box and the line.
TEST_F(Startup, LookAlikeOnTheWayToTheFolder) {
  std::string kept = str(orv::processState().programDirectory);
  makeWideFile(before.path(), L"\u0100dir", true);
  CreateDirectoryA((before / "Adir").c_str(), nullptr);
  CreateDirectoryA((before / "Adir\\Startup").c_str(), nullptr);
  orv::processState().programDirectory.assign(viewOf(before / "Adir"));
  orv::runStartup();
  orv::processState().programDirectory.assign(viewOf(kept));
  EXPECT_EQ(logMessages(before / "Orvalix.log"),
            std::vector<std::string>{"runStartup: Error  64 in runStartup: Bad file name"});
}

// Another copy holds the Startup run of this folder (a shortcut to Orvalix in
// its own Startup folder): one line says so, nothing starts.
TEST_F(Startup, AnotherCopyHoldsTheRun) {
  makeFolder({"a.lnk"});
  orv::processState().startupRun.reset();
  std::string other = folder;
  CharUpperA(other.data());
  auto runName = [](const std::string& spelling) {  // as a copy started by that spelling names it
    orv::AString name;
    orv::appendStartupRunName(name, orv::AString(viewOf(spelling)));
    return str(name);
  };
  // 8.3, and Wine's other route to the folder, as a UNC path or SUBST is on Windows.
  char spelled[MAX_PATH];
  EXPECT_EQ(runName(std::string(spelled, GetShortPathNameA(folder.c_str(), spelled, MAX_PATH))),
            runName(other));
  EXPECT_EQ(runName("\\\\?\\unix" + folder.substr(2)), runName(other));
  HANDLE held = CreateMutexA(nullptr, FALSE, runName(other).c_str());
  orv::runStartup();
  CloseHandle(held);
  EXPECT_EQ(fake::calls, std::vector<std::string>{});
  EXPECT_EQ(
      logMessages(folder + "\\Orvalix.log"),
      std::vector<std::string>{"runStartup: Startup folder already run by another copy; skipped"});
  EXPECT_EQ(currentDir(), before.path());
  orv::runStartup();  // this process takes the run again
  EXPECT_EQ(launched(), std::vector<std::string>{"a.lnk"});
}

}  // namespace
