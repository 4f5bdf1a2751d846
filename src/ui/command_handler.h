#pragma once

#include "platform/win.h"

namespace orv {

// The control dialog's message handler: the six buttons' commands, their
// questions, and the focus memory.
int controlDialogHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The control that had the focus when the dialog was last deactivated.
extern HWND savedFocus;
// The Run picker's file types, "description|patterns|...".
extern const char RUN_FILTER[];

}  // namespace orv
