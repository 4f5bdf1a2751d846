#include <gtest/gtest.h>

#include <algorithm>

#include "driver.h"
#include "ui/control_dialog.h"

using namespace e2e;
using namespace testutil;
using namespace orv;

namespace {

std::string underscored(std::string s) {
  std::replace(s.begin(), s.end(), ' ', '_');
  return s;
}

// Start-up alone logs nothing; the Close command ends the program with 0.
TEST(Start, CommandLinesAndExitCode) {
  // The longest command line the system takes, the switch at its very end.
  std::string longest = std::string(32700, 'x') + " nostartup";
  const char* tails[] = {"", "nostartup", "  /NoStartup  ", "\"quoted arg\"", longest.c_str()};
  for (const char* tail : tails) {
    Install install;
    TempDir cwd;
    writeFile(install.startup() + ".lnk");  // never opened: it is no folder
    Process p(install.exe(), tail, cwd.path());
    HWND dialog = waitWindow(p.id(), "#32770", "Orvalix");
    ASSERT_TRUE(dialog) << std::string(tail).substr(0, 40);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(p.waitExit(10000), 0u) << tail;
    EXPECT_FALSE(exists(cwd / "Orvalix.log")) << tail;
    EXPECT_FALSE(exists(install.dir / "Orvalix.log")) << tail;
  }
}

// Real shortcuts to a marker program: the targets start, in the Startup
// folder unless the shortcut has a "Start in" folder ("b"), a batch file too
// ("a"); the Startup folder's log lists every launch in byte order, and
// nostartup starts nothing.
TEST(Start, StartupFolderOfRealShortcuts) {
  struct {
    const char* tail;
    bool runs;
  } cases[] = {{"", true}, {"nostartup", false}, {"/NoStartup", false}};
  for (auto& c : cases) {
    Install install;
    TempDir cwd, markers;
    SetEnvironmentVariableA("ORV_MARKER_DIR", markers.path().c_str());
    ASSERT_TRUE(CreateDirectoryA(install.startup().c_str(), nullptr));
    std::string marker = MARKER_EXE, batch = markers / "a.cmd";
    std::replace(marker.begin(), marker.end(), '/', '\\');
    writeFile(batch, "@\"" + marker + "\" a\r\n");
    const char* names[] = {"b",         "C",       "a",          "9", "10", "Disabled Mail",
                           "DISABLEDx", "disable", "My disabled"};
    for (std::string n : names)
      makeShortcut(install.startup() + "\\" + n + ".lnk", n == "a" ? batch : MARKER_EXE,
                   underscored(n), n == "b" ? markers.path() : "");
    Process p(install.exe(), c.tail, cwd.path());
    HWND dialog = waitWindow(p.id(), "#32770", "Orvalix");
    ASSERT_TRUE(dialog) << c.tail;
    std::vector<std::string> order = {"10", "9", "C", "My disabled", "a", "b", "disable"};
    std::vector<std::string> log;
    if (c.runs) {
      log.push_back("runStartup: Executing startup");
      for (auto& n : order) log.push_back("launchProgram: " + n + ".lnk: Opened.");
      EXPECT_TRUE(waitFor([&] { return lines(markers / "marker.txt").size() == order.size(); }))
          << "every target starts";
    } else {
      Sleep(300);
    }
    EXPECT_EQ(logMessages(install.startup() + "\\Orvalix.log"), log) << c.tail;
    std::vector<std::string> expected;
    if (c.runs)
      for (auto& n : order)
        expected.push_back(underscored(n) + " in " +
                           (n == "b" ? markers.path() : install.startup()));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(startedWhere(markers / "marker.txt"), expected) << c.tail;
    EXPECT_FALSE(exists(cwd / "Orvalix.log"));
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(p.waitExit(10000), 0u);
  }
}

// A plain file named Startup: the error box, the same text in the log of the
// directory we started in, and then the dialog.
TEST(Start, PlainFileNamedStartup) {
  Install install;
  TempDir cwd;
  ReadyEvents ready;
  writeFile(install.startup(), "x");
  Process p(install.exe(), "", cwd.path());
  HWND box = waitWindow(p.id(), "#32770", "Talvermoor");
  ASSERT_TRUE(box);
  EXPECT_TRUE(ready.set()) << "the logon side hears of the shell before any box";
  const std::string text = "Error  75 in runStartup: Path/file access error";
  EXPECT_EQ(boxText(box), text);
  EXPECT_FALSE(waitWindow(p.id(), "#32770", "Orvalix", 200)) << "no dialog before the box goes";
  click(GetDlgItem(box, IDOK));
  HWND dialog = waitWindow(p.id(), "#32770", "Orvalix");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(logMessages(cwd / "Orvalix.log"), std::vector<std::string>{"runStartup: " + text});
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(p.waitExit(10000), 0u);
}

// The logon side hears that the shell is ready before the first Startup
// program starts. A start again in the same log-on runs no Startup program,
// until the log-on's marks are gone (a new log-on); Shift held as Orvalix
// starts skips the run. In a window station without display surfaces (a
// service's), where no input ever comes, the run does not wait for any.
TEST(Start, OncePerLogonAndShift) {
  Install install;
  TempDir cwd, markers;
  ReadyEvents ready;
  SetEnvironmentVariableA("ORV_MARKER_DIR", markers.path().c_str());
  SetEnvironmentVariableA("ORV_MARKER_EVENTS", ReadyEvents::kNames);
  ASSERT_TRUE(CreateDirectoryA(install.startup().c_str(), nullptr));
  makeShortcut(install.startup() + "\\a.lnk", MARKER_EXE, "a");
  HWINSTA station = CreateWindowStationA("OrvalixService", 0, WINSTA_ALL_ACCESS, nullptr);
  HWINSTA own = GetProcessWindowStation();
  SetProcessWindowStation(station);
  HDESK desk = CreateDesktopA("Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  SetProcessWindowStation(own);
  struct {
    const char* name;
    bool newLogon, shift;
    size_t started;    // marker lines after this start
    const char* line;  // the Startup log's last line
    const char* desktop = nullptr;
  } starts[] = {
      {"first", false, false, 1, "launchProgram: a.lnk: Opened."},
      {"again", false, false, 1,
       "runStartup: Startup folder already run in this log-on session; skipped"},
      {"new log-on", true, false, 2, "launchProgram: a.lnk: Opened."},
      {"Shift held", true, true, 2, "runStartup: Startup folder skipped: Shift held"},
      {"no display surfaces", true, false, 3, "launchProgram: a.lnk: Opened.",
       "OrvalixService\\Default"},
  };
  for (auto& s : starts) {
    if (s.newLogon) forgetLogonRuns();
    // Wine sets its keys again from the X server's whenever the focus moves,
    // and the window closed just before may still move it: Shift is pressed
    // until a press stays, then again and again, as a held key repeats.
    if (s.shift)
      waitFor(
          [] {
            keybd_event(VK_SHIFT, 0, 0, 0);
            Sleep(500);
            return GetAsyncKeyState(VK_SHIFT) < 0;
          },
          5000);
    DWORD began = GetTickCount();
    Process p(install.exe(), "", cwd.path(), s.desktop);
    HWND dialog = nullptr;
    waitFor(  // on another desktop, out of the driver's sight
        [&] {
          if (s.shift) keybd_event(VK_SHIFT, 0, 0, 0);
          return (dialog = waitWindow(p.id(), "#32770", "Orvalix", 0)) != nullptr;
        },
        s.desktop ? 0 : 15000);
    if (s.shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(dialog || s.desktop) << s.name;
    EXPECT_TRUE(waitFor([&] {
      auto logged = logMessages(install.startup() + "\\Orvalix.log");
      return !logged.empty() && logged.back() == s.line;
    })) << s.name;
    EXPECT_LT(s.desktop ? GetTickCount() - began : 0, 1000u) << "no wait for input";
    EXPECT_TRUE(waitFor([&] { return lines(markers / "marker.txt").size() == s.started; }))
        << s.name;
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(p.waitExit(s.desktop ? 0 : 10000), s.desktop ? STILL_ACTIVE : 0u) << s.name;
  }
  Sleep(300);
  CloseDesktop(desk);
  CloseWindowStation(station);
  auto started = lines(markers / "marker.txt");
  EXPECT_EQ(started.size(), 3u) << "nothing started late";
  for (auto& line : started) EXPECT_EQ(line.substr(0, 9), "events 11") << line;
  SetEnvironmentVariableA("ORV_MARKER_EVENTS", nullptr);
}

// The resources of the built exe: the icon group and the version record.
TEST(Exe, IconAndVersionResources) {
  HMODULE exe = LoadLibraryExA(ORVALIX_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(exe);
  HRSRC group = FindResourceA(exe, "ICON1", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_TRUE(group);
  auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
  ASSERT_EQ(dir[4], 2) << "two images";
  struct {
    BYTE width, colours;
    WORD bits;
  } images[] = {{32, 0, 8}, {16, 16, 4}};
  for (int i = 0; i < 2; ++i) {
    const BYTE* e = dir + 6 + 14 * i;
    EXPECT_EQ(e[0], images[i].width);
    EXPECT_EQ(e[1], images[i].width);
    EXPECT_EQ(e[2], images[i].colours);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(e + 6), images[i].bits);
  }
  FreeLibrary(exe);

  DWORD ignored;
  DWORD size = GetFileVersionInfoSizeA(ORVALIX_EXE, &ignored);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(ORVALIX_EXE, 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed;
  UINT n;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &n));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00030000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00030000u);
  WORD* translation;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &n));
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04B0);
  struct {
    const char* name;
    const char* value;
  } strings[] = {
      {"FileDescription", sizeof(void*) == 8 ? "Orvalix 1.1.3 (x64)" : "Orvalix 1.1.3 (x86)"},
      {"ProductName", "Orvalix 1.1.3"},
      {"FileVersion", "1.1.3"},
      {"ProductVersion", "1.1.3"},
      {"InternalName", "Orvalix.exe"},
      {"OriginalFilename", "Orvalix.exe"}};
  for (auto& s : strings) {
    char* value;
    std::string key = std::string("\\StringFileInfo\\040904B0\\") + s.name;
    ASSERT_TRUE(VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &n))
        << s.name;
    EXPECT_STREQ(value, s.value);
  }
}

// What a hostile user puts in a Startup folder: names with "%" under a PATH
// longer than the shell's buffers, names outside the ANSI code page, look-alikes
// among them ("Ādobe.lnk" beside "Adobe.lnk", "％WINDIR％x.lnk"), a name
// that "*.lnk" matches only through its short name, and a shortcut to Orvalix
// itself. No crash, every other target starts once, by its own name or its
// short one and never another's, the copy started from the folder skips the
// run and shows its own dialog.
TEST(Start, HostileStartupFolder) {
  Install install;
  TempDir cwd, markers;
  SetEnvironmentVariableA("ORV_MARKER_DIR", markers.path().c_str());
  std::string path(32767, '\0');
  path.resize(GetEnvironmentVariableA("PATH", path.data(), 32767));
  std::string longPath = path + ";C:\\" + std::string(1100, 'p');
  SetEnvironmentVariableA("PATH", longPath.c_str());
  std::string s = install.startup() + "\\";
  ASSERT_TRUE(CreateDirectoryA(install.startup().c_str(), nullptr));
  struct {
    const char* name;
    const char* arg;  // what the marker records; null: Orvalix itself
  } shortcuts[] = {
      {"%PATH%.lnk", "pct_path"},   {"50%off.lnk", "fifty_pct"},    {"50off.lnk", "fifty"},
      {"Mail.lnk_old", "mail_old"}, {"nihon.tmp", "nihon"},         {"self.lnk", nullptr},
      {"Adobe.lnk", "adobe"},       {"macron.tmp", "adobe_macron"}, {"percent.tmp", "windir_wide"}};
  for (auto& c : shortcuts)
    makeShortcut(s + c.name, c.arg ? MARKER_EXE : install.exe(), c.arg ? c.arg : "");
  std::wstring wide(s.begin(), s.end());
  const wchar_t* renamed[][2] = {{L"nihon.tmp", L"\u65e5\u672c.lnk"},
                                 {L"macron.tmp", L"\u0100dobe.lnk"},
                                 {L"percent.tmp", L"\uff05WINDIR\uff05x.lnk"}};
  std::vector<std::string> byShortName;
  for (auto& r : renamed) {
    ASSERT_TRUE(MoveFileW((wide + r[0]).c_str(), (wide + r[1]).c_str()));
    std::wstring shortPath(MAX_PATH, 0);
    shortPath.resize(GetShortPathNameW((wide + r[1]).c_str(), shortPath.data(), MAX_PATH));
    byShortName.push_back("launchProgram: " + narrow(shortPath.substr(shortPath.rfind(L'\\') + 1)) +
                          ": Opened.");
  }

  Process p(install.exe(), "", cwd.path());
  SetEnvironmentVariableA("PATH", path.c_str());
  ASSERT_TRUE(waitWindow(p.id(), "#32770", "Orvalix"));
  HWND second = nullptr;
  EXPECT_TRUE(waitFor([&] {
    for (HWND w = FindWindowA("#32770", "Orvalix"); w;
         w = FindWindowExA(nullptr, w, "#32770", "Orvalix")) {
      DWORD id = 0;
      GetWindowThreadProcessId(w, &id);
      if (id != p.id()) second = w;
    }
    return second != nullptr;
  })) << "the copy started from the Startup folder shows its dialog";
  EXPECT_TRUE(waitFor([&] { return lines(markers / "marker.txt").size() >= 6; }));
  EXPECT_EQ(startedArgs(markers / "marker.txt"),
            (std::vector<std::string>{"adobe", "adobe_macron", "fifty", "fifty_pct", "nihon",
                                      "windir_wide"}));

  std::string log = s + "Orvalix.log";
  EXPECT_TRUE(waitFor([&] { return completeLines(log) == 10; }));
  std::vector<std::string> expected = {
      "runStartup: Executing startup",
      "launchProgram: Error #64 running %PATH%.lnk",
      "launchProgram: 50%off.lnk: Opened.",
      "launchProgram: 50off.lnk: Opened.",
      "launchProgram: Adobe.lnk: Opened.",
      "launchProgram: self.lnk: Opened.",
      "runStartup: Startup folder already run by another copy; skipped"};
  expected.insert(expected.end(), byShortName.begin(), byShortName.end());
  std::vector<std::string> logged = logMessages(log);
  std::sort(expected.begin() + 1, expected.end());
  if (!logged.empty()) std::sort(logged.begin() + 1, logged.end());  // the copy writes meanwhile
  EXPECT_EQ(logged, expected);

  DWORD secondId = 0;
  GetWindowThreadProcessId(second, &secondId);
  HANDLE copy = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, secondId);
  click(GetDlgItem(second, IDC_EXIT));
  if (copy && WaitForSingleObject(copy, 10000) != WAIT_OBJECT_0) TerminateProcess(copy, 1);
  if (copy) CloseHandle(copy);
  EXPECT_TRUE(p.running()) << "Exit in the copy ends only the copy";
  PostMessageA(waitWindow(p.id(), "#32770", "Orvalix"), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(p.waitExit(10000), 0u);
  for (auto& r : renamed) DeleteFileW((wide + r[1]).c_str());  // the ANSI clean-up cannot name them
}

}  // namespace
