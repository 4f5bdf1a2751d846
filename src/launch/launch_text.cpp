#include "launch/launch_text.h"

#include "platform/text.h"

namespace orv {

namespace {

// The shell's failure codes, packed as textOf() reads them.
// clang-format off
constexpr char kShellErrors[] =
    "\x00" "the system is out of memory or resources\0"
    "\x03" "path not found\0"
    "\x05" "access denied\0"
    "\x08" "not enough memory\0"
    "\x0b" "the program file is invalid\0"
    "\x1a" "sharing violation\0"
    "\x1b" "the file association is incomplete or invalid\0"
    "\x1c" "the DDE request timed out\0"
    "\x1d" "the DDE transaction failed\0"
    "\x1e" "the DDE server is busy\0"
    "\x1f" "no application is associated with this file type\0"
    "\x20" "a required library was not found\0";
// clang-format on

}  // namespace

void appendLaunchOutcome(AString& out, intptr_t shellResult) {
  if (shellResult == 2) {
    out.append(": File not found.");
    return;
  }
  if (shellResult > 32) {
    out.append(": Opened.");
    return;
  }
  out.append(": Error");
  appendNumber(out, static_cast<long>(shellResult));  // 32 at most here
  ByteView reason = textOf(kShellErrors, static_cast<int>(shellResult));
  if (!reason.empty()) out.append(" (").append(reason).append(')');
  out.append('.');
}

void appendLaunchRefusal(AString& out, int code, ByteView path) {
  out.append("Error #");
  appendDigits(out, static_cast<unsigned long>(code));
  out.append(" running ").append(path);
}

}  // namespace orv
