#pragma once

#include "platform/astring.h"
#include "platform/win.h"

namespace orv {

// One registry value as it stands. `error` is 0 where it is there,
// ERROR_FILE_NOT_FOUND where it (or its key) is not, another where it could
// not be read. A string's bytes (REG_SZ, REG_EXPAND_SZ) leave out the NUL it
// is stored with; other types' are as stored.
struct RegistryValue {
  LONG error = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  AString bytes;
};

// `view`: 0, or the KEY_WOW64_* flag of the registry view to reach, which
// only 64-bit Windows may be given (2000 calls them invalid).
RegistryValue readRegistryValue(HKEY root, const char* path, const char* name, REGSAM view);
// Whether the key may be written: opened so, made (lasting) where missing.
LONG mayWriteRegistryKey(HKEY root, const char* path, REGSAM view);
// Writes `value`, or deletes the value where `value` is not there, then reads
// it back: 0, the system's error, or ERROR_INVALID_DATA where what is there
// then is not what was written.
LONG writeRegistryValue(HKEY root, const char* path, const char* name, REGSAM view,
                        const RegistryValue& value);

}  // namespace orv
