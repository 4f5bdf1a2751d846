#pragma once

#include "platform/astring.h"
#include "platform/win.h"

namespace orv {

// A text that the system writes into a buffer of ours, of a length not known
// in advance (a path, an environment value). `ask(buffer, size, context)`
// returns the length it wrote, below size; or, when the buffer was too small,
// the size it needs or any value from size up, and it is asked again with a
// bigger buffer. Empty when the system answered nothing or the text would
// pass 64 KiB, twice the longest that these calls give (32,767 characters);
// failed() when memory ran out.
using AskFn = DWORD (*)(char* buffer, DWORD size, const void* context);
AString askGrowing(AskFn ask, const void* context = nullptr);

}  // namespace orv
