#include "session/shell_record.h"

#include "platform/registry.h"
#include "platform/system.h"

namespace orv {

namespace {

bool sameEntry(const ShellRecord& a, const ShellRecord& b, unsigned place) {
  if (a.kept[place] != b.kept[place]) return false;
  if (!a.kept[place]) return true;
  const RecordedValue &x = a.before[place], &y = b.before[place];
  return x.there == y.there && x.expand == y.expand && x.text.view() == y.text.view() &&
         a.wrote[place].view() == b.wrote[place].view();
}

}  // namespace

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
  LONG error = ERROR_FILE_NOT_FOUND;
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    AString name;
    appendPlaceName(name, system, place);
    if (name.failed()) return ERROR_NOT_ENOUGH_MEMORY;
    RegistryValue entry = readRegistryValue(key.root, key.path, name.c_str(), key.view);
    if (entry.error == ERROR_FILE_NOT_FOUND) continue;
    if (entry.error) return entry.error;
    // An entry that is not one (written by hand) counts as none.
    record.kept[place] = entry.type == REG_MULTI_SZ &&
                         readRecordEntry(entry.bytes, record.before[place], record.wrote[place]);
    error = 0;
  }
  return error;
}

LONG mayWriteShellRecord(const ShellSystem& system, ShellScope scope) {
  RecordKey key = recordKeyOf(system, scope);
  return mayWriteRegistryKey(key.root, key.path, key.view);
}

LONG writeShellRecord(const ShellSystem& system, ShellScope scope, const ShellRecord& record,
                      const ShellRecord& was) {
  RecordKey key = recordKeyOf(system, scope);
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (sameEntry(record, was, place)) continue;
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
  if (!record.empty() || was.empty()) return 0;
  // The key goes with its last entry, and Orvalix's own key with it where
  // nothing else is below (it fails where something is, as it should).
  sys::deleteKey(key.root, key.path, key.view);
  AString parent(ByteView::ofCString(key.path));
  parent.truncate(parent.length() - 6);  // "\Shell"
  sys::deleteKey(key.root, parent.c_str(), key.view);
  return 0;
}

}  // namespace orv
