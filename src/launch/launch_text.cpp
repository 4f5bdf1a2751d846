#include "launch/launch_text.h"

#include "platform/text.h"

namespace orv {

namespace {

constexpr NumberText kShellErrors[] = {
    {0, "the system is out of memory or resources"},
    {3, "path not found"},
    {5, "access denied"},
    {8, "not enough memory"},
    {11, "the program file is invalid"},
    {26, "sharing violation"},
    {27, "the file association is incomplete or invalid"},
    {28, "the DDE request timed out"},
    {29, "the DDE transaction failed"},
    {30, "the DDE server is busy"},
    {31, "no application is associated with this file type"},
    {32, "a required library was not found"},
};

}  // namespace

void appendLaunchOutcome(AString& out, int shellResult) {
  if (shellResult == 2) {
    out.append(": File not found.");
    return;
  }
  if (shellResult > 32) {
    out.append(": Opened.");
    return;
  }
  out.append(": Error");
  appendNumber(out, shellResult);
  ByteView reason = textOf(kShellErrors, shellResult);
  if (!reason.empty()) out.append(" (").append(reason).append(')');
  out.append('.');
}

void appendLaunchRefusal(AString& out, int code, ByteView path) {
  out.append("Error #");
  appendDigits(out, static_cast<unsigned long>(code));
  out.append(" running ").append(path);
}

}  // namespace orv
