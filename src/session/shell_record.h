#pragma once

#include "platform/astring.h"
#include "platform/win.h"
#include "session/shell_places.h"

namespace orv {

// What a scope's set changed: per place, the value from before the first
// set and what the last set wrote. One registry value per place and view,
// named after it (appendPlaceName), in the scope's record key.
struct ShellRecord {
  bool kept[kShellPlaces] = {};
  RecordedValue before[kShellPlaces];
  AString wrote[kShellPlaces];

  void assign(const ShellRecord& other);
  bool empty() const;
  bool failed() const;  // memory ran out while it was made
};

// 0, or why the record could not be read (there being none is no failure).
LONG readShellRecord(const ShellSystem& system, ShellScope scope, ShellRecord& record);
// Writes each entry the record keeps (each read back), deletes the others,
// and the key where it keeps none.
LONG writeShellRecord(const ShellSystem& system, ShellScope scope, const ShellRecord& record);

}  // namespace orv
