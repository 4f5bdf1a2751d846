#pragma once

namespace orv {

// -1 on the NT family, 0 on the Windows 95/98/Me family.
int isWindowsNT();

// Enables the shutdown privilege in the process token; non-zero on success.
int getShutdownPrivilege();

// Logs off (0), shuts down (1) or restarts (2); non-zero when the system
// accepted the request. A refusal is logged after the request's line.
int exitWindows(int flags);

// Asks the system to suspend. A refusal, or a system without the call, is
// logged after "Standing by"; the caller is not told.
void goToStandby();

}  // namespace orv
