#include "platform/grown_text.h"

namespace orv {

AString askGrowing(AskFn ask, const void* context) {
  AString text;
  for (DWORD size = MAX_PATH; size <= 0x10000;) {
    if (!text.resize(size)) return text;
    DWORD n = ask(text.data(), size, context);
    if (n < size) {
      text.truncate(n);
      return text;
    }
    // The size needed, NUL included; or the buffer was merely full (a module
    // path that fills it may have been cut short).
    size = n > size ? n : size * 2;
  }
  text.truncate(0);
  return text;
}

}  // namespace orv
