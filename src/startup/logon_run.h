#pragma once

#include "platform/astring.h"

namespace orv {

// Whether a Startup run of the folder `runName` names (appendStartupRunName)
// already took place in this log-on session; if not, marks that it has. A
// shell that ends is often started again in the same session (by hand from
// Task Manager, by Winlogon, by Shell Launcher), and its Startup programs
// must not start twice. False wherever the mark cannot be kept: 95/98/Me, a
// locked-down registry. Then the run happens, as it always did.
bool startupRunBeforeInThisLogon(ByteView runName);

}  // namespace orv
