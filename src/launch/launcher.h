#pragma once

#include "platform/astring.h"

namespace orv {

// Opens one file through the shell with its default verb, after expanding its
// %NAME% references, and logs the outcome. Does not wait for what it started.
void launchProgram(ByteView path);

}  // namespace orv
