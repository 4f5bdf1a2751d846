#pragma once

namespace orv {

// Whether the system is of the NT family (NT 4.0, 2000, XP and later) rather
// than 95/98/Me, which lack its security, registry and desktop features.
// Asked of the system each time.
bool onNtFamily();

}  // namespace orv
