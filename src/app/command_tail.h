#pragma once

#include "platform/astring.h"

namespace orv {

// The command line without the program name: the part of `commandLine` that
// the program's switches are read from.
ByteView commandTailOf(const char* commandLine);

}  // namespace orv
