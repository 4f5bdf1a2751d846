#include "platform/astring.h"
#include "platform/win.h"

namespace orv {

void* memAlloc(unsigned size) { return HeapAlloc(GetProcessHeap(), 0, size ? size : 1); }

void memFree(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace orv
