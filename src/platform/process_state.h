#pragma once

#include "platform/astring.h"
#include "platform/scoped.h"
#include "platform/win.h"

// Process-wide values, declared here at the bottom so that no layer has to
// include the top one: the program's entry (app/) defines them and sets them
// once at start-up; the other layers only read them.
namespace orv {

extern ByteView commandTail;  // points into the system's command line
extern HINSTANCE moduleInstance;

// What the process holds for the whole run: created before the main flow,
// released after it.
struct ProcessState {
  AString programDirectory;  // cache; empty until first computed
  ScopedMutex startupRun;    // held while this process owns its Startup run
};

ProcessState& processState();

}  // namespace orv
