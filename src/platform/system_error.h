#pragma once

#include "platform/astring.h"

namespace orv {

// "error N (the system's text)"; without the parenthesis when the system has
// no text for N.
void appendSystemError(AString& out, unsigned long code);

}  // namespace orv
