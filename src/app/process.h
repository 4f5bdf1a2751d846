#pragma once

#include "platform/astring.h"
#include "platform/scoped.h"
#include "platform/win.h"

namespace orv {

// Process-wide values, set once at start-up and read for the whole run.
extern ByteView commandTail;  // points into the system's command line
extern HINSTANCE moduleInstance;

// What the process holds for the whole run: created before the main flow,
// released after it.
struct ProcessState {
  AString programDirectory;  // cache; empty until first computed
  ScopedMutex startupRun;    // held while this process owns its Startup run
};

bool createProcessState();
void releaseProcessState();
ProcessState& processState();

int programMain();

}  // namespace orv
