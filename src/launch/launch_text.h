#pragma once

#include <stdint.h>

#include "platform/astring.h"

namespace orv {

// What the log says after the path for the shell's answer: ": File not found."
// for 2, ": Opened." above 32, ": Error N (reason)." otherwise. The answer is
// pointer-sized (an HINSTANCE) and compared whole.
void appendLaunchOutcome(AString& out, intptr_t shellResult);

// "Error #N running PATH": a launch refused before the shell was asked.
void appendLaunchRefusal(AString& out, int code, ByteView path);

}  // namespace orv
