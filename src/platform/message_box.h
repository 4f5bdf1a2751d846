#pragma once

#include "platform/win.h"

namespace orv {

// Every box of the program: no owner, shown after a 5 ms pause; a box without
// a caption of its own carries the default one.
int showMessage(const char* text, UINT style, const char* caption = nullptr);

}  // namespace orv
