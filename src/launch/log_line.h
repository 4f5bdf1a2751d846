#pragma once

#include "platform/astring.h"

namespace orv {

struct LocalTime {
  unsigned year, month, day, hour, minute, second;
};

// "MM-DD-YYYY hh:mm:ss: source: message" without its line end; the source and
// its ": " are left out when the source is empty.
void buildLogLine(AString& out, const LocalTime& time, ByteView source, ByteView message);

}  // namespace orv
