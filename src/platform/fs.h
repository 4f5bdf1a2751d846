#pragma once

#include "platform/astring.h"
#include "platform/win.h"

namespace orv {

// Sets the process error mode to fail critical errors quietly (no "insert a
// disk" box for an empty drive) and restores it, around one file-system call.
// The thread's last error is cleared on entry so the call's own error can be
// read afterwards. Out of line: it stands around a dozen calls.
class QuietErrors {
 public:
  QuietErrors();
  ~QuietErrors();
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;
  static DWORD error() { return GetLastError(); }

 private:
  UINT previous_;
};

// Changes the current directory; returns the last error code, 0 on success.
DWORD changeDirectory(const AString& path);
// The full path that `name` stands for from the current directory; empty when
// the system cannot make one (an empty name). fullPath(".") is the current
// directory: the system joins it to the name without asking the disk.
AString fullPath(const char* name);
// The current directory by the name the system gives it, which keeps the
// blanks and dots that end a folder's name, ending in "\": without that
// "\" the system drops them again when the name is used, and reaches
// another folder or none. Empty when the system cannot say.
AString currentDirectory();
AString systemDirectory();
// The 8.3 form of `path`, in `spelled`, where the system gives one that fits;
// else `path` itself (GetShortPathNameA fails on some network paths). Two
// spellings of one file or folder then compare alike.
ByteView shortPathOf(const AString& path, char (&spelled)[MAX_PATH]);
// CreateFileA with no security attributes (the handle is not inherited) and
// the system's error boxes suppressed; the last error is the call's.
HANDLE openFile(const char* name, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// A handle that keeps a folder from being removed or renamed while it is held,
// as being the current directory does; INVALID_HANDLE_VALUE where folders
// cannot be opened (95/98/Me).
HANDLE openFolder(const char* path);
// The bytes that tell an open file or folder from every other on this
// computer: its volume's serial number and its file ID, the 128-bit one where
// the system has it (the 64-bit file index is not unique on ReFS), else the
// file index. Empty when the system gives neither (some network servers).
AString fileIdentity(HANDLE file);
// Whether a name holds "?" or "*": the system's file calls and some shells
// read them as wildcards, so such a name may stand for another file.
bool holdsWildcard(ByteView name);
// Whether a file or folder of exactly that name exists (relative names from
// the current directory); one we may not look at counts as there.
bool pathExists(const AString& path);

}  // namespace orv
