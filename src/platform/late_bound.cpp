#include "platform/late_bound.h"

#include "platform/fs.h"

namespace orv {

FARPROC kernelFunction(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

FARPROC systemDllFunction(const char* dll, const char* name) {
  AString path = systemDirectory();
  if (path.empty()) return nullptr;
  HMODULE module = LoadLibraryA(path.append('\\').append(ByteView::ofCString(dll)).c_str());
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace orv
