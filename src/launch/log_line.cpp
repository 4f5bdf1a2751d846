#include "launch/log_line.h"

#include "platform/text.h"

namespace orv {

namespace {

void appendPadded(AString& out, unsigned value, unsigned width) {
  char digits[10];
  for (unsigned i = width; i-- > 0;) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(ByteView(digits, width));
}

}  // namespace

void buildLogLine(AString& out, const LocalTime& t, ByteView source, ByteView message) {
  appendPadded(out, t.month, 2);
  out.append('-');
  appendPadded(out, t.day, 2);
  out.append('-');
  appendPadded(out, t.year, 4);
  out.append(' ');
  appendPadded(out, t.hour, 2);
  out.append(':');
  appendPadded(out, t.minute, 2);
  out.append(':');
  appendPadded(out, t.second, 2);
  out.append(": ");
  if (!source.empty()) out.append(source).append(": ");
  out.append(message);
}

}  // namespace orv
