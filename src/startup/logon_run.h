#pragma once

#include "platform/astring.h"

namespace orv {

// The mark that the Startup run of a folder took place in this log-on
// session. A shell that ends is often started again in the same session (by
// hand from Task Manager, by Winlogon, by Shell Launcher), and its Startup
// programs must not start twice. Nothing is marked wherever no mark can be
// kept (95/98/Me, a locked-down registry): there the run happens, as it
// always did.
class LogonMark {
 public:
  // Whether the run of the folder `runName` names (appendStartupRunName)
  // is marked; only looked at: a start that is skipped, or fails before it
  // starts anything, leaves no mark.
  bool foundFor(ByteView runName);
  // Marks the run that foundFor() looked for.
  void make() const;

 private:
  AString name_;  // empty where no mark can be kept
};

}  // namespace orv
