#pragma once

#include "platform/astring.h"
#include "platform/win.h"

namespace orv {

// Sets the process error mode to fail critical errors quietly (no "insert a
// disk" box for an empty drive) and restores it, around one file-system call.
// The thread's last error is cleared on entry so the call's own error can be
// read afterwards.
class QuietErrors {
 public:
  QuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {
    SetLastError(0);
  }
  ~QuietErrors() { SetErrorMode(previous_); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;
  static DWORD error() { return GetLastError(); }

 private:
  UINT previous_;
};

// The current directory; the last error code (0 on success) in *error.
AString currentDirectory(DWORD* error);
// Changes the current directory; returns the last error code, 0 on success.
DWORD changeDirectory(const AString& path);
// Whether a name holds "?" or "*": the system's file calls and some shells
// read them as wildcards, so such a name may stand for another file.
bool holdsWildcard(ByteView name);
// Whether a file or folder of exactly that name exists (relative names from
// the current directory); one we may not look at counts as there.
bool pathExists(const AString& path);

}  // namespace orv
