// The process entry. No C runtime starts this program: this is the first code
// that runs, and ExitProcess is the last call.
#include <objbase.h>

#include "app/command_tail.h"
#include "app/process.h"
#include "platform/system.h"

extern "C" void entryPoint() {
  using namespace orv;
  sys::declareDpiAware();
  sys::loadCommonControls();
  sys::loadShellDllsWhereUnprotected();
  CoInitialize(nullptr);
  commandTail = commandTailOf(GetCommandLineA());
  moduleInstance = GetModuleHandleA(nullptr);
  if (!createProcessState()) {
    CoUninitialize();
    ExitProcess(255);
  }
  int exitCode = programMain();
  releaseProcessState();
  CoUninitialize();
  ExitProcess(static_cast<UINT>(exitCode));
}
