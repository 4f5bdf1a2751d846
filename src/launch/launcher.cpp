#include "launch/launcher.h"

#include "launch/event_log.h"
#include "launch/expand.h"
#include "launch/launch_text.h"
#include "platform/fs.h"
#include "platform/system.h"

namespace orv {

namespace {

constexpr ByteView kSource("launchProgram");
constexpr unsigned kMaxPathLength = 255;          // as given, before expansion
constexpr unsigned kMaxShellPath = MAX_PATH - 1;  // what the shell's buffers hold

void logRefusal(int code, ByteView path) {
  AString message;
  appendLaunchRefusal(message, code, path);
  logEvent(message, kSource);
}

bool fitsShellBuffer(ByteView file) { return file.size <= kMaxShellPath; }

// Only a name that stands for exactly one file and fits the shell's MAX_PATH
// buffers goes to the shell: a longer one overflows them, "?" is the system's
// mark for a character the ANSI code page lacks, and some shells read "?" and
// "*" as wildcards and open whatever matches first. Some shells (Wine's)
// expand %NAME% once more in what they are given, so that must fit too.
bool safeForShell(ByteView file) {
  if (!fitsShellBuffer(file) || file.find('?') >= 0 || file.find('*') >= 0) return false;
  if (file.find('%') < 0) return true;
  AString again = expandPath(file);
  return !again.failed() && fitsShellBuffer(again);
}

}  // namespace

void launchProgram(ByteView path) {
  if (path.size > kMaxPathLength) return logRefusal(64, path);
  AString file(path);
  // The expansion has no way to write a literal "%": a name that exists as it
  // is written ("50%off.exe") is opened as named.
  if (path.find('%') >= 0 && !pathExists(file)) file = expandPath(path);
  if (file.failed()) return logRefusal(7, path);
  if (!safeForShell(file)) return logRefusal(64, file);
  // A started program inherits our DLL search path: it gets the default.
  sys::setDllDirectory(nullptr);
  HINSTANCE result = sys::shellExecute(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOW);
  appendLaunchOutcome(file, static_cast<int>(reinterpret_cast<INT_PTR>(result)));
  logEvent(file, kSource);
}

}  // namespace orv
