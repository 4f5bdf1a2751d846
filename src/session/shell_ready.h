#pragma once

namespace orv {

// Tells the logon side that the shell is up, so that it switches from its
// logon screen to the user's desktop now rather than after its 30-second
// wait. Said before the Startup run and before any box of ours: until the
// switch, a box stands on a desktop nobody sees.
void signalShellReady();

}  // namespace orv
