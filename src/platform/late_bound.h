#pragma once

#include "platform/win.h"

// Functions looked up at run time instead of imported: newer than Windows 95
// and NT 4.0 (a static import of a missing function stops the whole exe from
// loading), or in DLLs too heavy to load before the window is up.
namespace orv {

// From kernel32, user32 or advapi32, which the exe imports and so has loaded; null
// where the system has no such function.
FARPROC kernelFunction(const char* name);
FARPROC userFunction(const char* name);
FARPROC advapiFunction(const char* name);

// From a DLL of the system folder, loaded by full path on first use: the
// current directory may be a user's folder, and older systems search it first.
FARPROC systemDllFunction(const char* dll, const char* name);

template <typename Fn>
Fn asFunction(FARPROC p) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
}

}  // namespace orv
