#pragma once

#include "platform/astring.h"

namespace orv {

// Opens one file through the shell with its default verb, after expanding its
// %NAME% references, and logs the outcome. Does not wait for what it started.
void launchProgram(ByteView path);

// Logs that a name is not opened because it may reach another file than the
// one it was listed as: "Error #64 running NAME".
void refuseLaunch(ByteView path);

}  // namespace orv
