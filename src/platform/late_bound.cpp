#include "platform/late_bound.h"

#include "platform/fs.h"

namespace orv {

namespace {

FARPROC loadedDllFunction(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace

FARPROC kernelFunction(const char* name) { return loadedDllFunction("kernel32.dll", name); }

FARPROC userFunction(const char* name) { return loadedDllFunction("user32.dll", name); }

FARPROC advapiFunction(const char* name) { return loadedDllFunction("advapi32.dll", name); }

FARPROC systemDllFunction(const char* dll, const char* name) {
  AString path = systemDirectory();
  if (path.empty()) return nullptr;
  HMODULE module = LoadLibraryA(path.append('\\').append(ByteView::ofCString(dll)).c_str());
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace orv
