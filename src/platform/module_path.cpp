#include "platform/module_path.h"

#include "platform/grown_text.h"

namespace orv {

AString modulePath() {
  return askGrowing([](char* buffer, DWORD size, const void*) {
    return GetModuleFileNameA(nullptr, buffer, size);
  });
}

}  // namespace orv
