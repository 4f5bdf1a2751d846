#pragma once

#include "platform/astring.h"

namespace orv {

// The full path of the program's own file; empty when the system could not say.
AString modulePath();

}  // namespace orv
