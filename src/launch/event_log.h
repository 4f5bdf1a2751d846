#pragma once

#include "platform/astring.h"

namespace orv {

// Appends one time-stamped line to "Orvalix.log" in the current directory.
// Never reports a failure: a line that cannot be written is dropped.
void logEvent(ByteView message, ByteView source);

}  // namespace orv
