#include <gtest/gtest.h>

#include "../bytes.h"
#include "fake_system.h"
#include "launch/launcher.h"
#include "startup/program_directory.h"
#include "test_util.h"

using namespace testutil;
using orv::StartIn;

namespace {

TEST(Launcher, WhatTheShellReceivesAndWhatIsLogged) {
  InTempDir dir;
  SetEnvironmentVariableA("ORV_ROOT", "C:\\WINDOWS");
  std::string longValue(300, 'v');
  SetEnvironmentVariableA("ORV_LONG", longValue.c_str());
  std::string hugeValue(32766, 'h');  // as long as an environment value gets
  SetEnvironmentVariableA("ORV_HUGE", hugeValue.c_str());
  std::string p255 = "C:\\" + std::string(252, 'a');
  std::string p256 = p255 + "b";
  std::string p259 = p255 + "bcde", p260 = p259 + "f";
  SetEnvironmentVariableA("ORV_P259", p259.c_str());
  SetEnvironmentVariableA("ORV_P260", p260.c_str());
  std::string deep(250, 'r');  // fits as given; past the shell's buffers once full
  writeFile(dir / "50%off.exe");
  writeFile(dir / "%ORV_LONG%.lnk");
  writeFile(dir / "x%ORV_ROOT%y.exe");
  struct {
    std::string path;
    int shellResult;
    std::string shellFile;  // "-": the shell is not asked; relative: in the current directory
    std::string logged;
  } cases[] = {
      {"%ORV_ROOT%\\notepad.exe", 2, "C:\\WINDOWS\\notepad.exe",
       "launchProgram: C:\\WINDOWS\\notepad.exe: File not found."},
      {"C:\\x.exe", 42, "C:\\x.exe", "launchProgram: C:\\x.exe: Opened."},
      // The system's full name writes the separator its own way.
      {"C:\\Tools\\x.exe /q", 31, "C:\\Tools\\x.exe \\q",
       "launchProgram: C:\\Tools\\x.exe /q: Error 31 (no application is associated with this "
       "file type)."},
      {"", 2, "-", "launchProgram: Error #64 running "},  // no full name: nothing to open
      {"x.exe", 42, "x.exe", "launchProgram: x.exe: Opened."},
      {deep + ".exe", 33, "-", "launchProgram: Error #64 running " + deep + ".exe"},
      {p255, 33, p255, "launchProgram: " + p255 + ": Opened."},
      {p256, 33, "-", "launchProgram: Error #64 running " + p256},
      {"%ORV_LONG%\\x.exe", 2, "-", "launchProgram: Error #64 running " + longValue + "\\x.exe"},
      {"C:\\%ORV_HUGE%%ORV_HUGE%", 3, "-",
       "launchProgram: Error #64 running C:\\" + hugeValue + hugeValue},
      {"%ORV_P259%", 33, p259, "launchProgram: " + p259 + ": Opened."},
      {"%ORV_P260%", 33, "-", "launchProgram: Error #64 running " + p260},
      {"50%off.exe", 33, "50%off.exe", "launchProgram: 50%off.exe: Opened."},
      {"50%missing.exe", 2, "50missing.exe", "launchProgram: 50missing.exe: File not found."},
      {"%ORV_LONG%.lnk", 33, "-", "launchProgram: Error #64 running %ORV_LONG%.lnk"},
      {"x%ORV_ROOT%y.exe", 33, "-", "launchProgram: Error #64 running x%ORV_ROOT%y.exe"},
      {"C:\\??.lnk", 33, "-", "launchProgram: Error #64 running C:\\??.lnk"},
      {"C:\\a*.exe", 33, "-", "launchProgram: Error #64 running C:\\a*.exe"},
      {"%" + std::string(300, 'n'), 33, "-",
       "launchProgram: Error #64 running %" + std::string(300, 'n')},
  };
  for (auto& c : cases) {
    fake::reset();
    fake::script.shellResult = c.shellResult;
    DeleteFileA("Orvalix.log");
    orv::launchProgram(viewOf(c.path), StartIn::filesFolder);
    std::vector<std::string> expectedCalls;
    std::string full = c.shellFile.find(':') == 1 ? c.shellFile : dir / c.shellFile;
    if (c.shellFile != "-")  // the file's own folder as the working one
      expectedCalls = {"SetDllDirectoryA null",
                       fake::shellCall(full, full.substr(0, full.rfind('\\') + 1))};
    EXPECT_EQ(fake::calls, expectedCalls) << c.path;
    EXPECT_EQ(logMessages(dir / "Orvalix.log"), std::vector<std::string>{c.logged}) << c.path;
    EXPECT_EQ(currentDir(), dir.path()) << c.path;
  }
}

// Back from the system folder by the name the system gave (a blank at its
// end kept); where that folder is gone, in the program's own folder.
TEST(Launcher, BackFromTheSystemFolder) {
  KeepCurrentDir keep;
  TempDir parent;
  std::string blank = parent / "blank ", own = str(orv::programDirectory()),
              moved = parent.path() + "x";
  CreateDirectoryW(wide("\\\\?\\" + blank).c_str(), nullptr);
  for (bool gone : {false, true}) {
    SetCurrentDirectoryA((blank + "\\").c_str());
    fake::script.onCall = [&](auto&) { gone&& MoveFileA(parent.path().c_str(), moved.c_str()); };
    orv::launchProgram("C:\\x.exe", StartIn::filesFolder);
    EXPECT_EQ(currentDir(), gone ? own : blank);
  }
  EXPECT_EQ(logMessages(own + "\\Orvalix.log"),
            (std::vector<std::string>{"launchProgram: Error #76 returning to " + blank + "\\",
                                      "launchProgram: C:\\x.exe: Opened."}));
  DeleteFileA((own + "\\Orvalix.log").c_str());
  MoveFileA(moved.c_str(), parent.path().c_str());
}

}  // namespace
