#include "platform/environment.h"

#include "platform/grown_text.h"

namespace orv {

AString environmentValue(const AString& name) {
  return askGrowing(
      [](char* buffer, DWORD size, const void* name) {
        return GetEnvironmentVariableA(static_cast<const char*>(name), buffer, size);
      },
      name.c_str());
}

}  // namespace orv
