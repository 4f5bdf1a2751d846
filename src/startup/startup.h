#pragma once

#include "platform/astring.h"

namespace orv {

// Opens the shortcuts of the Startup folder beside the program file, in byte
// order. Reports its own failures (a box and a log line) and always returns.
void runStartup();

// The directory of the program's own file, without a trailing backslash;
// empty when the system could not say.
ByteView programDirectory();

}  // namespace orv
