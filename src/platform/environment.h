#pragma once

#include "platform/astring.h"

namespace orv {

// The value of one environment variable, whole; empty when it is not set.
// `name` is NUL-terminated by the caller.
AString environmentValue(const AString& name);

}  // namespace orv
