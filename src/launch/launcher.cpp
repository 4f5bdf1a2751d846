#include "launch/launcher.h"

#include "launch/event_log.h"
#include "launch/expand.h"
#include "launch/launch_text.h"
#include "platform/environment.h"
#include "platform/error_numbers.h"
#include "platform/fs.h"
#include "platform/module_path.h"
#include "platform/scoped.h"
#include "platform/system.h"
#include "platform/text.h"

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

// The default DLL search path is back first: what the shell starts inherits it.
INT_PTR openInShell(const AString& full, const AString& workingFolder) {
  sys::setDllDirectory(nullptr);
  const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();
  return reinterpret_cast<INT_PTR>(
      sys::shellExecute(nullptr, nullptr, full.c_str(), nullptr, folder, SW_SHOW));
}

// Back in the folder we left, by the name the system gave it. Where that
// fails (95/98/Me do not hold the folder; it may be gone or renamed), in the
// program's own folder rather than the system one, where the log and the
// names given later would follow: the system looks for DLLs in the program's
// folder first anyway, and it stays while the program runs from it.
void returnTo(const AString& here) {
  DWORD error = changeDirectory(here);
  if (!error) return;
  AString own = modulePath();
  own.truncate(static_cast<unsigned>(findLastSeparator(own) + 1));
  changeDirectory(own);
  AString message("Error #");
  appendDigits(message, static_cast<unsigned long>(errorNumberFromCode(error)));
  logEvent(message.append(" returning to ").append(here), kSource);
}

}  // namespace

void refuseLaunch(ByteView path, int errorNumber) {
  AString message;
  appendLaunchRefusal(message, errorNumber, path);
  logEvent(message, kSource);
}

void launchProgram(ByteView path, StartIn where) {
  if (path.size > kMaxPathLength) return refuseLaunch(path);
  AString file(path);
  // The expansion has no way to write a literal "%": a name that exists as it
  // is written ("50%off.exe") is opened as named.
  if (path.find('%') >= 0 && !pathExists(file)) file = expandPath(path);
  AString full = fullPath(file.c_str()), here = currentDirectory();
  if (file.failed() || full.failed() || here.failed()) return refuseLaunch(path, kErrorOutOfMemory);
  // The shell gets the full name: the current directory may be elsewhere
  // while it runs. An empty name makes none.
  if (full.empty() || !safeForShell(full)) return refuseLaunch(file);
  INT_PTR result;
  if (where == StartIn::currentFolder) {
    result = openInShell(full, here);
  } else {
    AString system = systemDirectory(),
            folder(full.view().mid(0, static_cast<unsigned>(findLastSeparator(full) + 1)));
    if (system.failed() || folder.failed()) return refuseLaunch(path, kErrorOutOfMemory);
    // Held meanwhile where the system can, so that it cannot go away.
    ScopedFile held(openFolder(here.c_str()));
    if (DWORD away = changeDirectory(system)) return refuseLaunch(file, errorNumberFromCode(away));
    result = openInShell(full, folder);
    returnTo(here);
  }
  appendLaunchOutcome(file, result);
  logEvent(file, kSource);
}

}  // namespace orv
