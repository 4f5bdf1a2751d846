#include "startup/logon_run.h"

#include "platform/scoped.h"
#include "platform/system.h"
#include "platform/windows_family.h"

namespace orv {

namespace {

// The log-on session's id (its AuthenticationId): unique among log-ons since
// the system started, on every NT version. A user's registry hive can outlive
// a log-off (a process still holding it) and serves two log-ons of one user
// at once (console and remote): the mark is for this log-on alone. With UAC
// an administrator's log-on makes two sessions, one for the filtered token
// the shell gets and one for the full token: a copy started elevated (from
// an elevated prompt, say) takes the filtered token's, which its own links
// to, so that it finds the mark of the same log-on. Windows before Vista
// knows neither class and the call fails: the token's own id then.
bool logonId(LUID* id) {
  HANDLE opened = nullptr;
  if (!sys::openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  ScopedToken token(opened);
  DWORD elevation = 0, size = 0;
  if (sys::getTokenInformation(token.get(), TokenElevationType, &elevation, sizeof elevation,
                               &size) &&
      elevation == TokenElevationTypeFull &&
      // TOKEN_LINKED_TOKEN holds the linked token's handle alone.
      sys::getTokenInformation(token.get(), TokenLinkedToken, &opened, sizeof opened, &size))
    token.reset(opened);
  TOKEN_STATISTICS statistics;
  if (!sys::getTokenInformation(token.get(), TokenStatistics, &statistics, sizeof statistics,
                                &size))
    return false;
  *id = statistics.AuthenticationId;
  return true;
}

void appendHex(AString& out, unsigned long value) {
  for (int shift = 28; shift >= 0; shift -= 4)
    out.append("0123456789ABCDEF"[(value >> shift) & 15]);
}

constexpr char kOrvalixKey[] = "Software\\Orvalix";

}  // namespace

bool LogonMark::foundFor(ByteView runName) {
  name_ = AString();
  // 95's registry ignores REG_OPTION_VOLATILE and writes the key to disk:
  // the mark would outlive the session and no Startup would run again.
  if (!onNtFamily()) return false;
  LUID id;
  if (!logonId(&id)) return false;
  // HKEY_CURRENT_USER\Software\Orvalix\Logons\Logon <id> <run name>. Logons
  // and what is below it are volatile: nothing of it is left after log-off.
  // Session state, not a setting.
  name_.append(kOrvalixKey).append("\\Logons\\Logon ");
  appendHex(name_, static_cast<unsigned long>(id.HighPart));
  appendHex(name_, id.LowPart);
  name_.append(' ').append(runName);
  if (name_.failed()) name_ = AString();
  HKEY opened = nullptr;
  if (name_.empty() ||
      sys::openKey(HKEY_CURRENT_USER, name_.c_str(), KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return false;
  ScopedKey mark(opened);
  return true;
}

void LogonMark::make() const {
  if (name_.empty()) return;
  // Software\Orvalix itself lasts: it also holds what the shell command
  // records, and no lasting key can be made below a volatile one. The call
  // that makes Logons makes every missing key of its path volatile.
  HKEY opened = nullptr;
  DWORD disposition;
  if (sys::createKey(HKEY_CURRENT_USER, kOrvalixKey, REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY,
                     &opened, &disposition) != ERROR_SUCCESS)
    return;
  ScopedKey orvalix(opened);
  ByteView below = name_.view().mid(sizeof kOrvalixKey);  // after "Software\Orvalix\"
  if (sys::createKey(orvalix.get(), AString(below).c_str(), REG_OPTION_VOLATILE, KEY_QUERY_VALUE,
                     &opened, &disposition) == ERROR_SUCCESS)
    ScopedKey mark(opened);  // being there is the mark: closed at once
}

}  // namespace orv
