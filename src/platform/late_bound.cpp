#include "platform/late_bound.h"

namespace orv {

FARPROC kernelFunction(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

FARPROC systemDllFunction(const char* dll, const char* name) {
  char path[MAX_PATH + 16];
  UINT n = GetSystemDirectoryA(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  path[n++] = '\\';
  for (const char* p = dll; (path[n] = *p) != 0; ++p) ++n;
  HMODULE module = LoadLibraryA(path);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace orv
