#pragma once

#include "platform/astring.h"

namespace orv {

// The directory of the program's own file, without a trailing backslash;
// empty when the system could not say. Computed once, then kept.
ByteView programDirectory();

}  // namespace orv
