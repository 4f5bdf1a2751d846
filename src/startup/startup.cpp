#include "startup/startup.h"

#include "launch/event_log.h"
#include "launch/launcher.h"
#include "platform/directory_listing.h"
#include "platform/error_numbers.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/process_state.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/windows_family.h"
#include "startup/logon_run.h"
#include "startup/program_directory.h"
#include "startup/run_list.h"

namespace orv {

namespace {

constexpr char kSource[] = "runStartup";

void reportFailure(int number) {
  AString text;
  text.append("Error ");
  appendNumber(text, number);
  text.append(" in runStartup: ").append(errorText(number));
  const char* shown = text.failed() ? "Error  7 in runStartup: Out of memory" : text.c_str();
  showMessage(shown, MB_OK);
  logEvent(ByteView::ofCString(shown), kSource);
}

// Error number of a failed change of directory, 0 on success.
int changeTo(const AString& path) {
  if (holdsWildcard(path)) return kErrorPathNotFound;
  DWORD error = changeDirectory(path);
  if (!error) return 0;
  int number = errorNumberFromCode(error);
  return number == kErrorFileNotFound ? kErrorPathNotFound : number;
}

// One Startup run per folder at a time: a shortcut to Orvalix in its own
// Startup folder would otherwise start copies without end (95/98/Me keep no
// mark of a run, below). The mutex is held until the process ends. A name
// without a "Global\" or "Local\" prefix is per session where the system has
// sessions; the others have only one.
bool takeStartupRun(const AString& runName) {
  ScopedMutex& held = processState().startupRun;
  if (held) return true;
  SetLastError(0);
  held.reset(CreateMutexA(nullptr, FALSE, runName.c_str()));
  DWORD error = GetLastError();
  // Access denied: it exists, made by another account in this session.
  if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
    return true;  // also when no mutex could be made: the run matters more
  held.reset();
  return false;
}

// Shift held as the shell starts is the user's way past a Startup program
// that hangs or crashes the machine, where nostartup is out of reach. The
// system answers "not held" for every key while another desktop (the logon
// screen) receives the input, so the key is read once the user's desktop
// does. Winlogon switches as soon as it hears that the shell is ready; the
// wait runs out only where the user's desktop never gets the input (a shell
// started behind a locked screen). A window station without display
// surfaces (a service's) never gets any, and is not waited for. Within one
// that has them every failure is waited out, whatever its error: which error
// the logon screen's desktop gives is not documented.
constexpr DWORD kInputDesktopWaitMs = 5000, kInputDesktopPollMs = 50;

bool shiftHeld() {
  if (onNtFamily() && sys::windowStationVisible())
    for (DWORD waited = 0; sys::openInputDesktop() && waited < kInputDesktopWaitMs;
         waited += kInputDesktopPollMs)
      sys::sleep(kInputDesktopPollMs);
  return (sys::getAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

// Why this start leaves the Startup folder alone; null when it runs it.
const char* skipReason(const AString& runName, LogonMark& mark) {
  if (!takeStartupRun(runName)) return "Startup folder already run by another copy; skipped";
  // A fail-safe boot bypasses the user's startup files, as Windows' own shell
  // does; 95/98/Me still start the shell in Safe mode.
  if (sys::getSystemMetrics(SM_CLEANBOOT)) return "Startup folder skipped: Safe Mode";
  // Before Shift: a shell started again behind a locked screen has no input
  // desktop to wait for, and needs none to know that its run is done.
  if (mark.foundFor(runName)) return "Startup folder already run in this log-on session; skipped";
  if (shiftHeld()) return "Startup folder skipped: Shift held";
  return nullptr;
}

int runInFolder(const AString& folder) {
  AString saved = currentDirectory();
  if (saved.failed()) return kErrorOutOfMemory;
  if (int failure = changeTo(folder)) return failure;
  AString runName;
  appendStartupRunName(runName, folder);
  LogonMark mark;
  if (const char* reason = skipReason(runName, mark)) {
    // The run is left to whoever has not skipped it.
    processState().startupRun.reset();
    logEvent(ByteView::ofCString(reason), kSource);
    return changeTo(saved);
  }
  logEvent("Executing startup", kSource);

  RunList runList;
  int failure = 0;
  {
    DirectoryListing shortcuts("*.lnk", 0);
    for (ByteView name = shortcuts.next(); !name.empty() && !failure; name = shortcuts.next()) {
      if (!runsAtStartup(name)) continue;
      AString own(name);
      int refused = shortcuts.makeReachOwn(own);
      if (refused == kErrorBadFileName)
        refuseLaunch(name);
      else if (refused || !runList.insert(own))
        failure = kErrorOutOfMemory;
    }
  }
  // Out of memory the run does not happen: back where we were, the run left
  // to another copy, and no mark of it. The mark comes once nothing can stop
  // the run any more.
  if (failure)
    processState().startupRun.reset();
  else
    mark.make();
  for (unsigned i = 0; i < runList.count() && !failure; ++i) {
    launchProgram(runList[i], StartIn::currentFolder);
    Sleep(0);  // the rest of our time slice to what was just started
  }
  int back = changeTo(saved);
  return failure ? failure : back;
}

}  // namespace

// The bytes that name the folder whatever the path that reached it: on the NT
// family its identity on the system, the same through a UNC path and its
// mapped drive, SUBST, 8.3 and any letter case. Where a folder cannot be
// opened (95/98/Me), or a network server gives no identity, its full 8.3 path
// (GetShortPathNameA fails on some network paths: the path as it is then).
void appendStartupRunName(AString& name, const AString& folder) {
  ScopedFile opened(openFolder(folder.c_str()));
  AString identity = opened ? fileIdentity(opened.get()) : AString();
  if (!identity.empty() && !identity.failed())
    return appendStartupMutexName(name, identity, FolderKey::identity);
  char spelled[MAX_PATH];
  appendStartupMutexName(name, shortPathOf(folder, spelled), FolderKey::spelling);
}

void runStartup() {
  if (startupSwitchedOff(commandTail)) return;
  AString folder;
  folder.append(programDirectory()).append("\\Startup");
  if (folder.failed()) return reportFailure(kErrorOutOfMemory);
  // The exe's path may pass through a folder that the ANSI code page shows
  // as a look-alike of another's: every name on the way is checked as a
  // Startup name is, and a refusal is reported where the folder is there.
  int refused = makeReachOwnFile(folder);
  {
    DirectoryListing exists(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY);
    if (exists.next().empty()) return;
  }
  if (refused) return reportFailure(refused);
  if (int failure = runInFolder(folder)) reportFailure(failure);
}

}  // namespace orv
