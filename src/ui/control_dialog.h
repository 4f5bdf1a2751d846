#pragma once

#include "platform/win.h"

namespace orv {

enum : WORD {
  IDC_EXIT = 1001,
  IDC_LOGOFF = 1002,
  IDC_SHUTDOWN = 1003,
  IDC_RESTART = 1004,
  IDC_STANDBY = 1005,
  IDC_RUN = 1006,
};

// Shows the control dialog and runs its loop until the dialog is destroyed;
// returns the end value (0).
int showControlDialog(HWND owner);
void endControlDialog(HWND dialog, int endValue);

}  // namespace orv
