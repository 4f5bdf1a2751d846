#include "app/process.h"

#include <new>

#include "session/shell_command.h"
#include "session/shell_ready.h"
#include "startup/startup.h"
#include "ui/control_dialog.h"

namespace orv {

// Set before anything reads it; all zero until then, so that it takes no room
// in the file (.bss).
ByteView commandTail(nullptr, 0);
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
  // "/shell ...": Orvalix sets, shows or undoes itself as the shell, and is
  // no shell meanwhile.
  ShellRequest shell = shellRequestOf(commandTail);
  if (shell.action != ShellAction::none) return runShellCommand(shell, commandTail);
  signalShellReady();
  runStartup();
  showControlDialog(nullptr);
  return 0;
}

}  // namespace orv
