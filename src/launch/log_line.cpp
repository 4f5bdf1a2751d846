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
  // "MM-DD-YYYY hh:mm:ss: ": each field, then the character after it.
  const unsigned fields[] = {t.month, t.day, t.year, t.hour, t.minute, t.second};
  for (unsigned i = 0; i < 6; ++i) {
    appendPadded(out, fields[i], i == 2 ? 4 : 2);
    out.append("-- :::"[i]);
  }
  out.append(' ');
  if (!source.empty()) out.append(source).append(": ");
  out.append(message);
}

}  // namespace orv
