#pragma once

#include "platform/process_state.h"

namespace orv {

// The process-wide state around the main flow: false when it cannot be made.
bool createProcessState();
void releaseProcessState();

int programMain();

}  // namespace orv
