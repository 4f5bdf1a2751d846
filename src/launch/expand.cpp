#include "launch/expand.h"

#include "platform/environment.h"

namespace orv {

namespace {
constexpr unsigned kMaxNameLength = 256;
}

AString expandVariables(ByteView rest) {
  AString out;
  for (;;) {
    int open = rest.find('%');
    if (open < 0) {
      out.append(rest);
      return out;
    }
    AString name(rest.mid(0, static_cast<unsigned>(open) < kMaxNameLength ? open : kMaxNameLength));
    AString value = environmentValue(name);
    if (name.failed() || value.failed()) out.markFailed();
    out.append(value);
    int close = rest.find('%', open + 1);
    if (close < 0) {
      out.append(rest.mid(open + 1));
      return out;
    }
    out.append(rest.mid(open + 1, close - open - 1));
    rest = rest.mid(close + 1);
  }
}

AString expandPath(ByteView path) {
  int first = path.find('%');
  if (first < 0) return AString(path);
  AString out(path.mid(0, first));
  AString rest = expandVariables(path.mid(first + 1));
  if (rest.failed()) out.markFailed();
  out.append(rest);
  return out;
}

}  // namespace orv
