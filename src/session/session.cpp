#include "session/session.h"

#include "launch/event_log.h"
#include "platform/message_box.h"
#include "platform/scoped.h"
#include "platform/system.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "platform/windows_family.h"

namespace orv {

int isWindowsNT() { return onNtFamily() ? -1 : 0; }

int getShutdownPrivilege() {
  HANDLE opened = nullptr;
  if (!sys::openProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened))
    return 0;
  ScopedToken token(opened);
  TOKEN_PRIVILEGES privilege = {};
  if (!sys::lookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &privilege.Privileges[0].Luid))
    return 0;
  privilege.PrivilegeCount = 1;
  privilege.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // Success as the call reports it: an account without the privilege gets
  // ERROR_NOT_ALL_ASSIGNED here, and the request itself then decides.
  return sys::adjustTokenPrivileges(token.get(), FALSE, &privilege, 0, nullptr, nullptr);
}

namespace {

// The privilege step both requests share: only the NT family needs it.
bool mayRequest(const char* refusal) {
  if (!isWindowsNT() || getShutdownPrivilege()) return true;
  showMessage(refusal, MB_OK);
  return false;
}

// The line logged before a request reads as if it happened: a refusal (no
// privilege, another session open, a program vetoing) gets a line saying why.
void logRefusal(ByteView call, DWORD error, ByteView source) {
  AString message(call);
  message.append(" refused: ");
  appendSystemError(message, error);
  logEvent(message, source);
}

}  // namespace

int exitWindows(int flags) {
  if (!mayRequest("Can't get shutdown privileges, not shutting down.")) return 0;
  AString message("ExitWindowsEx code ");
  appendNumber(message, flags);
  logEvent(message, "exitWindows");
  if (sys::exitWindowsEx(static_cast<UINT>(flags) | EWX_FORCEIFHUNG, 0xFFFFFFFF)) return 1;
  logRefusal("ExitWindowsEx", GetLastError(), "exitWindows");
  return 0;
}

void goToStandby() {
  if (!mayRequest("Can't get shutdown privileges, not standing by.")) return;
  logEvent("Standing by", "goToStandby");
  // 95, 98, Me and NT 4.0 have no such call: said as the system says it of
  // its own stubs.
  sys::PowerStateFn suspend = sys::setSystemPowerState();
  DWORD error = ERROR_CALL_NOT_IMPLEMENTED;
  if (suspend) {
    if (suspend(-1, FALSE)) return;
    error = GetLastError();
  }
  logRefusal("SetSystemPowerState", error, "goToStandby");
}

}  // namespace orv
