#include "startup/startup.h"

#include "app/process.h"
#include "launch/event_log.h"
#include "launch/launcher.h"
#include "platform/fs.h"
#include "platform/message.h"
#include "platform/scoped.h"
#include "platform/text.h"
#include "startup/run_list.h"

namespace orv {

namespace {

constexpr ByteView kSource("runStartup");
constexpr DWORD kFilteredAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// Bare names from a directory search, skipping entries that carry an attribute
// the listing does not allow, and "." and "..".
class Listing {
 public:
  Listing(const char* pattern, DWORD allowedAttributes) : allowed_(allowedAttributes) {
    QuietErrors quiet;
    find_.reset(FindFirstFileA(pattern, &entry_));
  }

  // The 8.3 name of the entry that next() returned; empty when it has none.
  ByteView shortName() const { return ByteView::ofCString(entry_.cAlternateFileName); }

  // The next accepted name; empty when there is none.
  ByteView next() {
    while (find_) {
      if (started_) {
        QuietErrors quiet;
        if (!FindNextFileA(find_.get(), &entry_)) {
          find_.reset();
          break;
        }
      }
      started_ = true;
      ByteView name = ByteView::ofCString(entry_.cFileName);
      bool dots = name == "." || name == "..";
      if (!dots && !(entry_.dwFileAttributes & kFilteredAttributes & ~allowed_)) return name;
    }
    return ByteView();
  }

 private:
  ScopedFind find_;
  WIN32_FIND_DATAA entry_;
  DWORD allowed_;
  bool started_ = false;
};

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
  if (path.view().find('*') >= 0 || path.view().find('?') >= 0) return 76;
  DWORD error = changeDirectory(path);
  if (!error) return 0;
  int number = errorNumberFromCode(error);
  return number == 53 ? 76 : number;
}

// One Startup run per folder and session: a shortcut to Orvalix in its own
// Startup folder would otherwise start copies without end. The mutex is held
// until the process ends. A name without a "Global\" or "Local\" prefix is per
// session where the system has sessions; the others have only one.
bool takeStartupRun(ByteView folder) {
  ScopedMutex& held = processState().startupRun;
  if (held) return true;
  AString name;
  appendStartupMutexName(name, folder);
  SetLastError(0);
  held.reset(CreateMutexA(nullptr, FALSE, name.c_str()));
  DWORD error = GetLastError();
  // Access denied: it exists, made by another account in this session.
  if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
    return true;  // also when no mutex could be made: the run matters more
  held.reset();
  return false;
}

int runInFolder(const AString& folder) {
  DWORD error;
  AString saved = currentDirectory(&error);
  if (error) return errorNumberFromCode(error);
  if (int failure = changeTo(folder)) return failure;
  if (!takeStartupRun(folder)) {
    logEvent("Startup folder already run by another copy; skipped", kSource);
    return changeTo(saved);
  }
  logEvent("Executing startup", kSource);

  RunList runList;
  {
    Listing shortcuts("*.lnk", 0);
    for (ByteView name = shortcuts.next(); !name.empty(); name = shortcuts.next()) {
      ByteView run = shortcutToRun(name, shortcuts.shortName());
      if (!run.empty() && !runList.insert(run)) return 7;
    }
  }
  for (unsigned i = 0; i < runList.count(); ++i) {
    launchProgram(runList[i]);
    Sleep(0);
  }
  return changeTo(saved);
}

}  // namespace

ByteView programDirectory() {
  AString& cached = processState().programDirectory;
  if (!cached.empty()) return cached;
  AString path;
  // A path that fills the buffer may have been cut short: ask again with more.
  for (DWORD size = MAX_PATH;; size *= 2) {
    if (size > 0x10000 || !path.resize(size)) return ByteView();
    DWORD n = GetModuleFileNameA(nullptr, path.data(), size);
    if (n == 0) return ByteView();
    if (n < size) {
      path.truncate(n);
      break;
    }
  }
  int slash = path.view().findLast('\\');
  cached.assign(path.view().mid(0, slash < 0 ? 0 : static_cast<unsigned>(slash)));
  if (cached.failed()) cached = AString();
  return cached;
}

void runStartup() {
  if (startupSwitchedOff(commandTail)) return;
  AString folder;
  folder.append(programDirectory()).append("\\Startup");
  if (folder.failed()) return reportFailure(7);
  {
    Listing exists(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY);
    if (exists.next().empty()) return;
  }
  if (int failure = runInFolder(folder)) reportFailure(failure);
}

}  // namespace orv
