#include "platform/message_box.h"

#include "platform/system.h"

namespace orv {

int showMessage(const char* text, UINT style, const char* caption) {
  Sleep(5);  // the clicked button draws its release before the box's loop takes over
  return sys::messageBox(nullptr, text, caption ? caption : "Talvermoor", style);
}

}  // namespace orv
