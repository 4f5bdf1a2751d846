#pragma once

#include "platform/astring.h"
#include "platform/error_numbers.h"

namespace orv {

// Opens one file through the shell with its default verb and logs the
// outcome. A name that exists as written is opened as named; otherwise its
// %NAME% references are expanded first. A name the shell could read as
// another file is refused with "Error #64 running NAME". Does not wait for
// what it started.
void launchProgram(ByteView path);

// Logs that a name is not opened: "Error #N running NAME", 64 when it may
// reach another file than the one it was listed as.
void refuseLaunch(ByteView path, int errorNumber = kErrorBadFileName);

}  // namespace orv
