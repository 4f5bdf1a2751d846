#include "session/shell_ready.h"

#include "platform/scoped.h"
#include "platform/system.h"
#include "platform/windows_family.h"

namespace orv {

namespace {

// The events that Winlogon creates and waits on before it shows the user's
// desktop: "ShellDesktopSwitchEvent" on Vista and later, "msgina:
// ShellReadyEvent" before. Undocumented, but they are what Windows' own shell
// sets, and the only way a shell has to say it is ready. Each by the
// session's own name first; the Global\ name only where that does not open.
// clang-format off
constexpr const char* kReadyEvents[][2] = {
    {"ShellDesktopSwitchEvent", "Global\\ShellDesktopSwitchEvent"},
    {"msgina: ShellReadyEvent", "Global\\msgina: ShellReadyEvent"},
};
// clang-format on

}  // namespace

void signalShellReady() {
  // 95, 98 and Me show the shell without waiting for it.
  if (!onNtFamily()) return;
  for (auto& names : kReadyEvents) {
    // Opened, never created: an event nobody made is one nobody waits on.
    ScopedEvent event(sys::openEvent(names[0]));
    if (!event) event.reset(sys::openEvent(names[1]));
    if (event) sys::setEvent(event.get());
  }
}

}  // namespace orv
