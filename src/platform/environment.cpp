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

AString expandedBySystem(const AString& text) {
  return askGrowing(
      [](char* buffer, DWORD size, const void* text) {
        DWORD n = ExpandEnvironmentStringsA(static_cast<const char*>(text), buffer, size);
        return n && n <= size ? n - 1 : n;  // n counts the NUL
      },
      text.c_str());
}

}  // namespace orv
