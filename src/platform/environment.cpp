#include "platform/environment.h"

#include "platform/win.h"

namespace orv {

AString environmentValue(const AString& name) {
  AString value;
  DWORD size = 256;
  // Ask, and ask again with the size the system reports, until the value fits:
  // it may also change between the two calls.
  for (int tries = 0; tries < 4; ++tries) {
    if (!value.resize(size)) return value;
    DWORD n = GetEnvironmentVariableA(name.c_str(), value.data(), size);
    if (n < size) {
      value.truncate(n);
      return value;
    }
    size = n;
  }
  value.truncate(0);
  return value;
}

}  // namespace orv
