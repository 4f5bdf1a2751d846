#pragma once

#include "platform/astring.h"

namespace orv {

// Opens the shortcuts of the Startup folder beside the program file, in byte
// order. Reports its own failures (a box and a log line) and always returns.
void runStartup();

// The name of the mutex that holds the Startup run of `folder`, for the life
// of the process: one per folder, whatever spelling of it a copy was started
// by.
void appendStartupRunName(AString& out, const AString& folder);

}  // namespace orv
