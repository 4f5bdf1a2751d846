#include "app/process.h"

#include <new>

#include "session/shell_ready.h"
#include "startup/startup.h"
#include "ui/control_dialog.h"

namespace orv {

ByteView commandTail;
HINSTANCE moduleInstance;

namespace {
ProcessState* state;
}

bool createProcessState() {
  void* block = memAlloc(sizeof(ProcessState));
  if (!block) return false;
  state = new (block) ProcessState();
  return true;
}

void releaseProcessState() {
  if (!state) return;
  state->~ProcessState();
  memFree(state);
  state = nullptr;
}

ProcessState& processState() { return *state; }

int programMain() {
  signalShellReady();
  runStartup();
  showControlDialog(nullptr);
  return 0;
}

}  // namespace orv
