#pragma once

// Drives a real Orvalix.exe from outside: starts it, finds its windows, clicks,
// answers its boxes. The driver owns no window, so Wine's end-of-session
// never targets it. Every wait is bounded.
#include <string>
#include <vector>

#include "../win32/test_util.h"

namespace e2e {

// A copy of Orvalix.exe in a fresh folder, so a Startup folder can sit beside
// it. Its first start runs that folder, as the first in a new log-on: the marks
// of earlier runs (HKCU\Software\Orvalix) are gone.
class Install {
 public:
  explicit Install(const char* exeName = "Orvalix.exe");
  std::string exe() const { return dir / exeName_; }
  std::string startup() const { return dir / "Startup"; }
  testutil::TempDir dir;

 private:
  std::string exeName_;
};

// The events the logon side waits on for the shell, made as Winlogon makes
// them (manual reset, not set) for the length of a test.
class ReadyEvents {
 public:
  static constexpr const char* kNames = "ShellDesktopSwitchEvent|msgina: ShellReadyEvent";
  ReadyEvents();
  ~ReadyEvents();
  bool set() const;  // both of them

 private:
  HANDLE events_[2];
};

class Process {
 public:
  // On `desktop` ("station\\desktop") where given, else the driver's own;
  // its standard output to `output` (an inheritable handle) where given.
  Process(const std::string& exe, const std::string& arguments, const std::string& cwd,
          const char* desktop = nullptr, HANDLE output = nullptr);
  ~Process();  // ends the process by its handle if it is still running
  bool running() const;
  DWORD waitExit(DWORD ms);  // the exit code, or STILL_ACTIVE after ms
  DWORD id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_ = {};
};

// The process's visible top-level window of that class and caption, waiting
// up to ms for it; null when none came.
HWND waitWindow(DWORD processId, const char* className, const char* caption, DWORD ms = 15000);
std::string windowText(HWND w);
std::string className(HWND w);
bool waitGone(HWND w, DWORD ms = 10000);
// Waits until pred() holds or ms passed; returns pred().
template <typename Pred>
bool waitFor(Pred pred, DWORD ms = 10000) {
  for (DWORD start = GetTickCount(); !pred();) {
    if (GetTickCount() - start > ms) return pred();
    Sleep(10);
  }
  return true;
}

void click(HWND button);  // a posted BM_CLICK
std::string boxText(HWND box);

// A real shortcut (IShellLinkA + IPersistFile::Save) to target with arguments
// and, where given, a "Start in" folder.
void makeShortcut(const std::string& lnk, const std::string& target, const std::string& args,
                  const std::string& startIn = "");

// Lines of the file that are complete (CR LF written): the log is created
// before its first line is written.
size_t completeLines(const std::string& path);

// The last word of each line the marker program wrote, sorted: the arguments
// of the targets that started.
std::vector<std::string> startedArgs(const std::string& markerFile);
// The same, each followed by " in " and the folder that target started in.
std::vector<std::string> startedWhere(const std::string& markerFile);

// The window with the keyboard focus in the thread that owns w.
HWND focusOf(HWND w);

}  // namespace e2e
