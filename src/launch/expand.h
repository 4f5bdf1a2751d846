#pragma once

#include "platform/astring.h"

namespace orv {

// Expands the text that follows an opening "%": each NAME% is replaced by the
// variable's value; a "%" without a partner is dropped. Values are inserted as
// they are, never scanned again.
AString expandVariables(ByteView rest);

// The whole path with its %NAME% references expanded; unchanged without "%".
AString expandPath(ByteView path);

}  // namespace orv
