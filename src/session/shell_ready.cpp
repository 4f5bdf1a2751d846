#include "session/shell_ready.h"

#include "platform/astring.h"
#include "platform/scoped.h"
#include "platform/system.h"
#include "platform/windows_family.h"

namespace orv {

namespace {

// The events that Winlogon creates and waits on before it shows the user's
// desktop: "ShellDesktopSwitchEvent" on Vista and later, "msgina:
// ShellReadyEvent" before. Undocumented, but they are what Windows' own shell
// sets, and the only way a shell has to say it is ready.
constexpr const char* kReadyEvents[] = {"ShellDesktopSwitchEvent", "msgina: ShellReadyEvent"};

}  // namespace

void signalShellReady() {
  // 95, 98 and Me show the shell without waiting for it.
  if (!onNtFamily()) return;
  for (const char* name : kReadyEvents) {
    // Opened, never created: an event nobody made is one nobody waits on.
    // By the session's own name first; the Global\ name only where that
    // does not open.
    ScopedEvent event(sys::openEvent(name));
    if (!event) {
      AString global("Global\\");
      event.reset(sys::openEvent(global.append(ByteView::ofCString(name)).c_str()));
    }
    if (event) sys::setEvent(event.get());
  }
}

}  // namespace orv
