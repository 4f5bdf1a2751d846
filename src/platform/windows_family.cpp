#include "platform/windows_family.h"

#include "platform/system.h"

namespace orv {

bool onNtFamily() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  sys::getVersionEx(&version);
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace orv
