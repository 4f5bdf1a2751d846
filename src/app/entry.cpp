// The process entry. No C runtime starts this program: this is the first code
// that runs, and ExitProcess is the last call.
#include <objbase.h>

#include "app/command_tail.h"
#include "app/process.h"
#include "platform/late_bound.h"

namespace {

// The Startup run and the Open dialog move the current directory into user
// folders, and the Open dialog loads shell extensions: no DLL may come from
// there. Systems before XP SP1 lack the call and never searched it first.
void keepCurrentDirectoryOutOfDllSearch() {
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  if (auto set = orv::asFunction<SetDllDirectoryFn>(orv::kernelFunction("SetDllDirectoryA")))
    set("");
}

}  // namespace

extern "C" void entryPoint() {
  using namespace orv;
  keepCurrentDirectoryOutOfDllSearch();
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
