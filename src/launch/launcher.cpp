#include "launch/launcher.h"

#include "launch/event_log.h"
#include "launch/expand.h"
#include "launch/launch_text.h"
#include "platform/system.h"

namespace orv {

namespace {

constexpr ByteView kSource("launchProgram");
constexpr unsigned kMaxPathLength = 255;

void logRefusal(int code, ByteView path) {
  AString message;
  appendLaunchRefusal(message, code, path);
  logEvent(message, kSource);
}

}  // namespace

void launchProgram(ByteView path) {
  if (path.size > kMaxPathLength) return logRefusal(64, path);
  AString file = expandPath(path);
  if (file.failed()) return logRefusal(7, path);
  // The whole expanded path goes to the shell: a cut one could open another file.
  HINSTANCE result = sys::shellExecute(nullptr, nullptr, file.c_str(), nullptr, nullptr, SW_SHOW);
  appendLaunchOutcome(file, static_cast<int>(reinterpret_cast<INT_PTR>(result)));
  logEvent(file, kSource);
}

}  // namespace orv
