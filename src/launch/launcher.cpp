#include "launch/launcher.h"

#include "launch/event_log.h"
#include "launch/expand.h"
#include "launch/launch_text.h"
#include "platform/environment.h"
#include "platform/error_numbers.h"
#include "platform/fs.h"
#include "platform/system.h"

namespace orv {

namespace {

constexpr char kSource[] = "launchProgram";
constexpr unsigned kMaxPathLength = 255;          // as given, before expansion
constexpr unsigned kMaxShellPath = MAX_PATH - 1;  // what the shell's buffers hold

void logRefusal(int code, ByteView path) {
  AString message;
  appendLaunchRefusal(message, code, path);
  logEvent(message, kSource);
}

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

void refuseLaunch(ByteView path) { logRefusal(kErrorBadFileName, path); }

void launchProgram(ByteView path) {
  if (path.size > kMaxPathLength) return refuseLaunch(path);
  AString file(path);
  // The expansion has no way to write a literal "%": a name that exists as it
  // is written ("50%off.exe") is opened as named.
  if (path.find('%') >= 0 && !pathExists(file)) file = expandPath(path);
  if (file.failed()) return logRefusal(kErrorOutOfMemory, path);
  if (!safeForShell(file)) return logRefusal(kErrorBadFileName, file);
  // A started program inherits our DLL search path: it gets the default.
  sys::setDllDirectory(nullptr);
  HINSTANCE result = sys::shellExecute(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOW);
  appendLaunchOutcome(file, static_cast<int>(reinterpret_cast<INT_PTR>(result)));
  logEvent(file, kSource);
}

}  // namespace orv
