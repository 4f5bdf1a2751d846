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
  const struct {
    unsigned value, width;
    char after;
  } fields[] = {{t.month, 2, '-'}, {t.day, 2, '-'},    {t.year, 4, ' '},
                {t.hour, 2, ':'},  {t.minute, 2, ':'}, {t.second, 2, ':'}};
  for (const auto& field : fields) {
    appendPadded(out, field.value, field.width);
    out.append(field.after);
  }
  out.append(' ');
  if (!source.empty()) out.append(source).append(": ");
  out.append(message);
}

}  // namespace orv
