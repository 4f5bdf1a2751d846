#include "platform/message.h"

#include "platform/system.h"

namespace orv {

int showMessage(const char* text, UINT style, const char* caption) {
  Sleep(5);
  return sys::messageBox(nullptr, text, caption ? caption : "Talvermoor", style);
}

}  // namespace orv
