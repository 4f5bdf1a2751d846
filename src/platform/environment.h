#pragma once

#include "platform/astring.h"

namespace orv {

// The value of one environment variable, whole; empty when it is not set.
// `name` is NUL-terminated by the caller.
AString environmentValue(const AString& name);

// `text` with its %NAME% references expanded by the system's own rule
// (ExpandEnvironmentStringsA: a name that is not set stays as written), as a
// shell that expands what it is given does; empty when the system fails.
AString expandedBySystem(const AString& text);

}  // namespace orv
