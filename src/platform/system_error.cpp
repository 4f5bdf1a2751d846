#include "platform/system_error.h"

#include "platform/text.h"
#include "platform/win.h"

namespace orv {

void appendSystemError(AString& out, unsigned long code) {
  out.append("error ");
  appendDigits(out, code);
  // Longer texts than this do not fit in a log line a person reads anyway;
  // FormatMessageA then fails and the number stands alone.
  char text[512];
  DWORD n = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
      nullptr, code, 0, text, sizeof text, nullptr);
  // Line ends, the one the text ends in and any written into it, would split
  // the log line.
  ByteView line = asOneLine(text, n);
  if (line.empty()) return;
  out.append(" (").append(line).append(')');
}

}  // namespace orv
