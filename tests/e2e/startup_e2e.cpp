#include <gtest/gtest.h>

#include <algorithm>

#include "driver.h"

using namespace e2e;
using namespace testutil;

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

// Real shortcuts to a marker program: the targets start, the Startup folder's
// log lists every launch in byte order, and nostartup starts nothing.
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
    const char* names[] = {"b",         "C",       "a",          "9", "10", "Disabled Mail",
                           "DISABLEDx", "disable", "My disabled"};
    for (const char* n : names)
      makeShortcut(install.startup() + "\\" + n + ".lnk", MARKER_EXE, underscored(n));
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
    std::vector<std::string> started;
    for (auto& line : lines(markers / "marker.txt"))
      started.push_back(line.substr(line.rfind(' ') + 1));
    std::sort(started.begin(), started.end());
    std::vector<std::string> expected;
    if (c.runs)
      for (auto& n : order) expected.push_back(underscored(n));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(started, expected) << c.tail;
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
  writeFile(install.startup(), "x");
  Process p(install.exe(), "", cwd.path());
  HWND box = waitWindow(p.id(), "#32770", "Talvermoor");
  ASSERT_TRUE(box);
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
  } strings[] = {{"FileDescription", "Orvalix 1.1.3"},
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

}  // namespace
