#include "launch/launcher.h"

#include "launch/event_log.h"
#include "launch/expand.h"
#include "launch/launch_text.h"
#include "platform/environment.h"
#include "platform/error_numbers.h"
#include "platform/fs.h"
#include "platform/scoped.h"
#include "platform/system.h"

namespace orv {

namespace {

constexpr char kSource[] = "launchProgram";
constexpr unsigned kMaxPathLength = 255;          // as given, before expansion
constexpr unsigned kMaxShellPath = MAX_PATH - 1;  // what the shell's buffers hold

// Only a name that stands for exactly one file and fits the shell's MAX_PATH
// buffers goes to the shell: a longer one overflows them, "?" is the system's
// mark for a character the ANSI code page lacks, and some shells read "?" and
// "*" as wildcards and open whatever matches first. Some shells (Wine's)
// expand %NAME% once more, by the system's rule, in what they are given: a
// name that this would change stands for another file there.
bool safeForShell(const AString& file) {
  ByteView name = file;
  if (name.size > kMaxShellPath || holdsWildcard(name)) return false;
  return name.find('%') < 0 || expandedBySystem(file).view() == name;
}

}  // namespace

void refuseLaunch(ByteView path, int errorNumber) {
  AString message;
  appendLaunchRefusal(message, errorNumber, path);
  logEvent(message, kSource);
}

void launchProgram(ByteView path) {
  if (path.size > kMaxPathLength) return refuseLaunch(path);
  AString file(path);
  // The expansion has no way to write a literal "%": a name that exists as it
  // is written ("50%off.exe") is opened as named.
  if (path.find('%') >= 0 && !pathExists(file)) file = expandPath(path);
  AString here = fullPath("."), full = fullPath(file.c_str()), system = systemDirectory();
  if (file.failed() || full.failed() || here.failed() || system.failed())
    return refuseLaunch(path, kErrorOutOfMemory);
  // The shell gets the full name: the current directory is elsewhere while it
  // runs (below). An empty name makes none.
  if (full.empty() || !safeForShell(full)) return refuseLaunch(file);
  // While the shell works it loads verb handlers, shell extensions and their
  // DLLs into this process, and a DLL name the system folders lack is looked
  // for in the current directory: it must not be a user's folder (the
  // Startup folder, the one Run picked). The started program still starts in
  // that folder (lpDirectory), held meanwhile so that it cannot go away, and
  // inherits the default DLL search path.
  ScopedFile held(openFolder(here.c_str()));
  if (DWORD away = changeDirectory(system)) return refuseLaunch(file, errorNumberFromCode(away));
  sys::setDllDirectory(nullptr);
  HINSTANCE result =
      sys::shellExecute(nullptr, nullptr, full.c_str(), nullptr, here.c_str(), SW_SHOW);
  changeDirectory(here);
  appendLaunchOutcome(file, reinterpret_cast<INT_PTR>(result));
  logEvent(file, kSource);
}

}  // namespace orv
