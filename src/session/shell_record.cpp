#include "session/shell_record.h"

#include "platform/registry.h"
#include "platform/system.h"

namespace orv {

void ShellRecord::assign(const ShellRecord& other) {
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    kept[place] = other.kept[place];
    before[place].assign(other.before[place]);
    wrote[place].assign(other.wrote[place].view());
  }
}

bool ShellRecord::empty() const {
  for (bool entry : kept)
    if (entry) return false;
  return true;
}

bool ShellRecord::failed() const {
  for (unsigned place = 0; place < kShellPlaces; ++place)
    if (before[place].text.failed() || wrote[place].failed()) return true;
  return false;
}

LONG readShellRecord(const ShellSystem& system, ShellScope scope, ShellRecord& record) {
  RecordKey key = recordKeyOf(system, scope);
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    // Without two views, a place of the 32-bit view bears its twin's name:
    // it would read the twin's entry, and its empty one erase it.
    if (!placeOnSystem(system, place)) continue;
    AString name;
    appendPlaceName(name, system, place);
    // A name cut short by want of memory would find no entry: no record.
    if (name.failed()) return ERROR_NOT_ENOUGH_MEMORY;
    RegistryValue entry = readRegistryValue(key.root, key.path, name.c_str(), key.view);
    if (entry.error == ERROR_FILE_NOT_FOUND) continue;
    if (entry.error) return entry.error;
    // An entry that is none (written by hand) counts as none.
    record.kept[place] = entry.type == REG_MULTI_SZ &&
                         readRecordEntry(entry.bytes, record.before[place], record.wrote[place]);
  }
  return record.failed() ? ERROR_NOT_ENOUGH_MEMORY : 0;
}

LONG writeShellRecord(const ShellSystem& system, ShellScope scope, const ShellRecord& record) {
  RecordKey key = recordKeyOf(system, scope);
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!placeOnSystem(system, place)) continue;
    AString name;
    appendPlaceName(name, system, place);
    RegistryValue entry;
    entry.error = record.kept[place] ? 0 : ERROR_FILE_NOT_FOUND;
    entry.type = REG_MULTI_SZ;
    if (record.kept[place])
      appendRecordEntry(entry.bytes, record.before[place], record.wrote[place]);
    if (name.failed() || entry.bytes.failed()) return ERROR_NOT_ENOUGH_MEMORY;
    if (LONG error = writeRegistryValue(key.root, key.path, name.c_str(), key.view, entry))
      return error;
  }
  if (!record.empty()) return 0;
  // The key goes with its last entry, and Orvalix's own key with it where
  // nothing else is below it (where something is, the call fails, as it
  // should, on NT; 95/98/Me's deletes what is below, and Orvalix keeps
  // nothing else there).
  sys::deleteKey(key.root, key.path, key.view);
  sys::deleteKey(key.root, "Software\\Orvalix", key.view);
  return 0;
}

}  // namespace orv
