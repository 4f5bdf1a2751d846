#include <gtest/gtest.h>

#include <cstdlib>

#include "driver.h"

#include <commctrl.h>
#include "ui/control_dialog.h"

using namespace e2e;
using namespace testutil;
using namespace orv;

namespace {

constexpr int kIds[] = {IDC_RUN,      IDC_EXIT,    IDC_LOGOFF,
                        IDC_SHUTDOWN, IDC_RESTART, IDC_STANDBY};  // creation and tab order

// An Orvalix with its control dialog up (no Startup run).
struct Running {
  explicit Running(const char* exeName = "Orvalix.exe", const char* cwdPath = nullptr)
      : install(exeName), p(install.exe(), "nostartup", cwdPath ? cwdPath : cwd.path()) {
    dialog = waitWindow(p.id(), "#32770", "Orvalix");
  }
  ~Running() {
    if (p.running() && IsWindow(dialog)) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    p.waitExit(5000);
  }
  HWND button(int id) const { return GetDlgItem(dialog, id); }
  Install install;
  TempDir cwd;
  Process p;
  HWND dialog = nullptr;
};

RECT clientRectOf(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(Dialog, WindowButtonsGeometryAndDefault) {
  Running o;
  ASSERT_TRUE(o.dialog);
  EXPECT_EQ(className(o.dialog), "#32770");
  EXPECT_EQ(GetWindowLongA(o.dialog, GWL_STYLE) & ~WS_VISIBLE, 0x84C21AD5 & ~WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(o.dialog, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(o.dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(o.dialog, DM_GETDEFID, 0, 0)), 0x534B03EEu);

  // Dialog units to pixels as MapDialogRect does, with the base units that
  // give the client size of 117 x 92 units.
  RECT client;
  GetClientRect(o.dialog, &client);
  int bx = 0, by = 0;
  for (int x = 1; x < 40 && !bx; ++x)
    if (MulDiv(117, x, 4) == client.right) bx = x;
  for (int y = 1; y < 80 && !by; ++y)
    if (MulDiv(92, y, 8) == client.bottom) by = y;
  ASSERT_TRUE(bx && by) << client.right << "x" << client.bottom;

  struct {
    int id;
    const char* text;
    int x, y;
    DWORD style;
  } buttons[] = {
      {IDC_RUN, "Run", 65, 5, 0x50010F01},         {IDC_EXIT, "Exit", 5, 5, 0x50010000},
      {IDC_LOGOFF, "Logoff", 5, 30, 0x50010000},   {IDC_SHUTDOWN, "Shutdown", 5, 45, 0x50010000},
      {IDC_RESTART, "Restart", 5, 60, 0x50010000}, {IDC_STANDBY, "Standby", 5, 75, 0x50010000}};
  HWND child = GetWindow(o.dialog, GW_CHILD);
  for (auto& b : buttons) {
    ASSERT_TRUE(child) << b.text;
    EXPECT_EQ(GetDlgCtrlID(child), b.id) << "creation order";
    EXPECT_EQ(className(child), "Button");
    EXPECT_EQ(windowText(child), b.text);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), b.style) << b.text;
    EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0) << b.text;
    RECT r = clientRectOf(child, o.dialog);
    EXPECT_EQ(r.left, MulDiv(b.x, bx, 4)) << b.text;
    EXPECT_EQ(r.top, MulDiv(b.y, by, 8)) << b.text;
    EXPECT_EQ(r.right, MulDiv(b.x + 50, bx, 4)) << b.text;
    EXPECT_EQ(r.bottom, MulDiv(b.y + 15, by, 8)) << b.text;
    EXPECT_EQ(SendMessageA(child, WM_GETFONT, 0, 0), SendMessageA(o.dialog, WM_GETFONT, 0, 0));
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_FALSE(child) << "six buttons only";

  // Tab walks the buttons in creation order and wraps, from wherever the
  // platform put the focus first.
  if (!focusOf(o.dialog)) PostMessageA(o.dialog, WM_KEYDOWN, VK_TAB, 0);
  ASSERT_TRUE(waitFor([&] { return focusOf(o.dialog) != nullptr; }, 3000));
  int at = 0;
  while (at < 6 && o.button(kIds[at]) != focusOf(o.dialog)) ++at;
  ASSERT_LT(at, 6) << "the focus is on a button";
  HWND target = focusOf(o.dialog);
  for (int i = 1; i <= 6; ++i) {
    PostMessageA(target, WM_KEYDOWN, VK_TAB, 0);
    HWND expected = o.button(kIds[(at + i) % 6]);
    EXPECT_TRUE(waitFor([&] { return focusOf(o.dialog) == expected; }, 3000)) << i;
    target = focusOf(o.dialog);
  }

  // Esc and IDCANCEL do nothing.
  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(o.dialog, WM_COMMAND, IDCANCEL, 0);
  Sleep(300);
  EXPECT_TRUE(o.p.running());
  EXPECT_EQ(topWindows(o.p.id()).size(), 1u);

  click(o.button(IDC_EXIT));
  EXPECT_EQ(o.p.waitExit(10000), 0u);
}

// The four questions, on the NT family and, under a name that Wine reports
// Windows 98 for, on the 9x family.
TEST(Dialog, QuestionsNoAndStandbyYes) {
  for (const char* exe : {"Orvalix.exe", "orvalix98.exe"}) {
    Running o(exe);
    ASSERT_TRUE(o.dialog) << exe;
    struct {
      int id;
      const char* caption;
      const char* text;
    } questions[] = {{IDC_LOGOFF, "Logoff?", "Logoff?"},
                     {IDC_SHUTDOWN, "Shutdown?", "Shut the computer down?"},
                     {IDC_RESTART, "Restart?", "Restart the computer?"},
                     {IDC_STANDBY, "Standby?", "Go to standby?"}};
    for (auto& q : questions) {
      click(o.button(q.id));
      HWND box = waitWindow(o.p.id(), "#32770", q.caption);
      ASSERT_TRUE(box) << exe << " " << q.caption;
      EXPECT_EQ(boxText(box), q.text);
      EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
      EXPECT_FALSE(GetDlgItem(box, IDOK));
      EXPECT_TRUE(GetDlgItem(box, 0x440)) << "the question icon";
      EXPECT_FALSE(IsWindowEnabled(o.dialog)) << "the box is task-modal";
      click(GetDlgItem(box, IDNO));
      EXPECT_TRUE(waitGone(box));
      // Without a window manager Wine activates no window when the box goes;
      // the user's click on the dialog is what activates it again.
      EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(o.dialog) != FALSE; }, 3000));
      SetForegroundWindow(o.dialog);
      EXPECT_TRUE(waitFor([&] { return focusOf(o.dialog) == o.button(q.id); }, 3000))
          << exe << " " << q.caption << ": focus back on the button that asked";
      EXPECT_TRUE(IsWindowEnabled(o.dialog));
    }
    EXPECT_FALSE(exists(o.cwd / "Orvalix.log")) << "answers leave no line";

    click(o.button(IDC_STANDBY));
    HWND box = waitWindow(o.p.id(), "#32770", "Standby?");
    ASSERT_TRUE(box);
    click(GetDlgItem(box, IDYES));
    EXPECT_TRUE(waitFor([&] { return completeLines(o.cwd / "Orvalix.log") == 1; }));
    EXPECT_EQ(logMessages(o.cwd / "Orvalix.log"),
              std::vector<std::string>{"goToStandby: Standing by"});
    Sleep(200);
    EXPECT_TRUE(o.p.running() && IsWindow(o.dialog)) << "the dialog stays after standby";
    EXPECT_EQ(topWindows(o.p.id()).size(), 1u) << "no refusal box";
  }
}

TEST(Dialog, RunPicksAndLaunches) {
  TempDir programs, markers;
  std::string target = programs / "marker.exe";
  ASSERT_TRUE(CopyFileA(MARKER_EXE, target.c_str(), FALSE));
  SetEnvironmentVariableA("ORV_MARKER_DIR", markers.path().c_str());
  Running o;
  ASSERT_TRUE(o.dialog);

  click(o.button(IDC_RUN));
  HWND open = waitWindow(o.p.id(), "#32770", "Run...");
  ASSERT_TRUE(open);
  HWND types = GetDlgItem(open, 0x470);
  EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 0);
  const char* names[] = {"Programs",
                         "Batch files",
                         "Scripts",
                         "Control panel applets",
                         "Common document formats",
                         "Common image formats",
                         "All Files"};
  ASSERT_EQ(SendMessageA(types, CB_GETCOUNT, 0, 0), 7);
  for (int i = 0; i < 7; ++i) {
    wchar_t text[256] = L"";  // across processes Wine answers in UTF-16
    SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), std::wstring(names[i], names[i] + strlen(names[i])));
  }
  // Run again while the picker is up: no second picker, the first comes forward.
  for (int i = 0; i < 10; ++i) click(o.button(IDC_RUN));
  Sleep(500);
  int pickers = 0;
  for (HWND w : topWindows(o.p.id())) pickers += windowText(w) == "Run...";
  EXPECT_EQ(pickers, 1);
  EXPECT_EQ(GetForegroundWindow(), open);
  click(GetDlgItem(open, IDCANCEL));
  EXPECT_TRUE(waitGone(open));
  Sleep(200);
  EXPECT_FALSE(exists(o.cwd / "Orvalix.log")) << "cancel launches nothing";

  click(o.button(IDC_RUN));
  open = waitWindow(o.p.id(), "#32770", "Run...");
  ASSERT_TRUE(open);
  SendMessageA(GetDlgItem(open, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  click(GetDlgItem(open, IDOK));
  EXPECT_TRUE(waitGone(open));
  EXPECT_TRUE(waitFor([&] {
    return startedWhere(markers / "marker.txt") ==
           std::vector{"\"" + target + "\" in " + programs.path()};
  })) << readFile(markers / "marker.txt");
  // The log goes to the current directory, which the Open dialog may have
  // moved to the chosen file's folder.
  EXPECT_TRUE(waitFor([&] {
    return completeLines(programs / "Orvalix.log") + completeLines(o.cwd / "Orvalix.log") == 1;
  }));
  std::vector<std::string> logged = logMessages(programs / "Orvalix.log");
  for (auto& line : logMessages(o.cwd / "Orvalix.log")) logged.push_back(line);
  EXPECT_EQ(logged, std::vector<std::string>{"launchProgram: " + target + ": Opened."});
  EXPECT_TRUE(o.p.running());

  // What Run starts, starts in the folder it was picked in, though the shell
  // works from the system folder.
  writeFile(programs / "where.cmd", "@cd > \"" + markers / "where.txt" + "\"\r\n");
  click(o.button(IDC_RUN));
  ASSERT_TRUE(open = waitWindow(o.p.id(), "#32770", "Run..."));
  for (std::string typed : {programs.path(), std::string("where.cmd")}) {  // into it, then pick
    SendMessageA(GetDlgItem(open, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    click(GetDlgItem(open, IDOK));
    Sleep(300);
  }
  EXPECT_TRUE(
      waitFor([&] { return lines(markers / "where.txt") == std::vector{programs.path()}; }));

  // A document: its program starts in the document's folder. A folder on the
  // way that lists as a look-alike ("Ādir" beside "Adir" in code page 1252):
  // nothing from either runs.
  std::string document = programs / "x.orvdoc", command = "\"" + target + "\" document";
  RegSetValueA(HKEY_CLASSES_ROOT, ".orvdoc", REG_SZ, "OrvalixTestDoc", 0);
  RegSetValueA(HKEY_CLASSES_ROOT, "OrvalixTestDoc\\shell\\open\\command", REG_SZ, command.c_str(),
               0);
  writeFile(document);
  std::string own = programs / makeWideFile(programs.path(), L"\u0100dir", true);
  CreateDirectoryA((programs / "Adir").c_str(), nullptr);
  for (auto& d : {own, programs / "Adir"})
    writeFile(d + "\\x.cmd", "@cd > \"" + markers / "ran.txt" + "\"\r\n");
  for (std::wstring typed : {wide(document), wide(programs.path()) + L"\\\u0100dir\\x.cmd"}) {
    click(o.button(IDC_RUN));
    ASSERT_TRUE(open = waitWindow(o.p.id(), "#32770", "Run..."));
    SendMessageW(GetDlgItem(open, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    click(GetDlgItem(open, IDOK));
    EXPECT_TRUE(waitGone(open));
  }
  EXPECT_TRUE(waitFor([&] { return lines(markers / "marker.txt").size() == 2; }));
  EXPECT_EQ(startedWhere(markers / "marker.txt").back(), "document in " + programs.path());
  std::string refused = "Error #64 running " + programs / "Adir\\x.cmd";
  EXPECT_TRUE(waitFor(
      [&] { return readFile(programs / "Orvalix.log").find(refused) != std::string::npos; }));
  EXPECT_FALSE(waitFor([&] { return exists(markers / "ran.txt"); }, 2000)) << "nothing from Adir";
  for (const char* key : {".orvdoc", "OrvalixTestDoc\\shell\\open\\command",
                          "OrvalixTestDoc\\shell\\open", "OrvalixTestDoc\\shell", "OrvalixTestDoc"})
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
}

// Exit while the picker is up, also while its own "file not found" box is in
// front of it, however that box is titled, and while its file list asks
// whether to delete a file: each is answered so that it closes, never Yes
// (the file stays), nothing is opened, and the program ends with 0.
TEST(Dialog, ExitWhilePicking) {
  for (int boxUp : {0, 1, 2, 3}) {  // 2: the box titled as the picker is; 3: the list's question
    Running o;
    writeFile(o.cwd / "kept.exe");
    click(o.button(IDC_RUN));
    HWND open = waitWindow(o.p.id(), "#32770", "Run..."), front = open;
    ASSERT_TRUE(open);
    if (boxUp == 3) {
      HWND list = FindWindowExA(FindWindowExA(open, nullptr, "SHELLDLL_DefView", nullptr), nullptr,
                                "SysListView32", nullptr);
      ASSERT_TRUE(waitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
      for (WPARAM key : {VK_DOWN, VK_DELETE}) PostMessageA(list, WM_KEYDOWN, key, 0);
    } else if (boxUp) {
      std::string missing = o.cwd / "missing.exe";
      SendMessageA(GetDlgItem(open, 0x47C), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(missing.c_str()));
      click(GetDlgItem(open, IDOK));
    }
    ASSERT_TRUE(waitFor([&] { return (front = GetLastActivePopup(open)) != open || !boxUp; }));
    if (boxUp == 2) SetWindowTextA(front, "Run...");
    click(o.button(IDC_EXIT));
    EXPECT_EQ(o.p.waitExit(5000), 0u) << boxUp;
    EXPECT_EQ(topWindows(o.p.id()).size(), 0u);
    EXPECT_FALSE(exists(o.cwd / "Orvalix.log"));
    EXPECT_TRUE(exists(o.cwd / "kept.exe"));
  }
}

// make run on a machine without a display: the demo Startup folder, the
// window, a screenshot taken by the caller, then Exit.
TEST(Demo, DISABLED_ShowAndExit) {
  const char* demo = std::getenv("ORV_DEMO_DIR");
  ASSERT_TRUE(demo);
  std::string dir = demo, startup = dir + "\\Startup";
  removeTree(startup);
  CreateDirectoryA(startup.c_str(), nullptr);
  makeShortcut(startup + "\\Notepad.lnk", "C:\\windows\\notepad.exe", "");
  makeShortcut(startup + "\\Clock.lnk", "C:\\windows\\system32\\clock.exe", "");
  makeShortcut(startup + "\\disabled Winver.lnk", "C:\\windows\\system32\\winver.exe", "");
  if (std::getenv("ORV_DEMO_SETUP_ONLY")) return;

  Process p(dir + "\\Orvalix.exe", "", dir);
  HWND dialog = waitWindow(p.id(), "#32770", "Orvalix");
  ASSERT_TRUE(dialog);
  // Clear of the windows the Startup run opened, for the picture.
  SetWindowPos(dialog, HWND_TOPMOST, 780, 560, 0, 0, SWP_NOSIZE);
  Sleep(500);
  RECT r;
  GetWindowRect(dialog, &r);
  std::string geometry = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
                         "+" + std::to_string(r.left) + "+" + std::to_string(r.top) + "\n";
  writeFile(dir + "\\ready", geometry);
  EXPECT_TRUE(waitFor([&] { return exists(dir + "\\shot-done"); }, 30000));
  click(GetDlgItem(dialog, IDC_EXIT));
  EXPECT_EQ(p.waitExit(10000), 0u);
}

// Run only in the throwaway prefix of tests/tools/in-throwaway-prefix.sh
// --wineboot, where wineboot.exe is the marker program: each accepted request
// leaves its line, reaches the system and ends the program with 0.
TEST(SessionEnd, DISABLED_YesLogsRequestsAndEnds) {
  struct {
    int id;
    const char* caption;
    const char* logged;
    const char* wineboot;  // how Wine hands the flags on
  } cases[] = {
      {IDC_LOGOFF, "Logoff?", "exitWindows: ExitWindowsEx code  0",
       "--end-session --force --shutdown"},
      {IDC_SHUTDOWN, "Shutdown?", "exitWindows: ExitWindowsEx code  1",
       "--end-session --force --shutdown"},
      {IDC_RESTART, "Restart?", "exitWindows: ExitWindowsEx code  2", "--end-session --force"},
  };
  for (const char* exe : {"Orvalix.exe", "orvalix98.exe"}) {
    for (auto& c : cases) {
      TempDir markers;
      SetEnvironmentVariableA("ORV_MARKER_DIR", markers.path().c_str());
      Running o(exe);
      ASSERT_TRUE(o.dialog);
      click(o.button(c.id));
      HWND box = waitWindow(o.p.id(), "#32770", c.caption);
      ASSERT_TRUE(box) << exe << " " << c.caption;
      click(GetDlgItem(box, IDYES));
      EXPECT_EQ(o.p.waitExit(15000), 0u) << exe << " " << c.caption;
      EXPECT_EQ(logMessages(o.cwd / "Orvalix.log"), std::vector<std::string>{c.logged});
      ASSERT_TRUE(waitFor([&] { return !lines(markers / "marker.txt").empty(); }))
          << exe << " " << c.caption << ": the request reached the system";
      std::string line = lines(markers / "marker.txt")[0];
      EXPECT_EQ(line.substr(line.size() - strlen(c.wineboot)), c.wineboot) << line;
    }
  }
}

}  // namespace
