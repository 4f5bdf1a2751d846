#include "platform/registry.h"

#include "platform/scoped.h"
#include "platform/system.h"

namespace orv {

namespace {

bool isString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

LONG openToWrite(ScopedKey& key, HKEY root, const char* path, REGSAM view) {
  HKEY opened = nullptr;
  DWORD disposition;
  LONG error = sys::createKey(root, path, REG_OPTION_NON_VOLATILE,
                              KEY_QUERY_VALUE | KEY_SET_VALUE | view, &opened, &disposition);
  if (!error) key.reset(opened);
  return error;
}

}  // namespace

RegistryValue readRegistryValue(HKEY root, const char* path, const char* name, REGSAM view) {
  RegistryValue value;
  HKEY opened = nullptr;
  if ((value.error = sys::openKey(root, path, KEY_QUERY_VALUE | view, &opened))) return value;
  ScopedKey key(opened);
  // Asked for its size, then read (should another writer grow it in
  // between, ERROR_MORE_DATA says so).
  DWORD size = 0;
  if ((value.error = sys::queryValue(key.get(), name, &value.type, nullptr, &size))) return value;
  if (!value.bytes.resize(size)) value.error = ERROR_NOT_ENOUGH_MEMORY;
  if (!value.error)
    value.error = sys::queryValue(key.get(), name, &value.type,
                                  reinterpret_cast<BYTE*>(value.bytes.data()), &size);
  // Where the second call failed, `size` is not what the buffer holds (the
  // size needed, where the value grew), and out of memory there is none.
  if (value.error) return value;
  value.bytes.truncate(size);
  if (isString(value.type) && size && value.bytes.data()[size - 1] == 0)
    value.bytes.truncate(size - 1);
  return value;
}

LONG mayWriteRegistryKey(HKEY root, const char* path, REGSAM view) {
  ScopedKey key;
  return openToWrite(key, root, path, view);
}

LONG writeRegistryValue(HKEY root, const char* path, const char* name, REGSAM view,
                        const RegistryValue& value) {
  ScopedKey key;
  LONG error = openToWrite(key, root, path, view);
  if (error) return error;
  if (value.error) {
    error = sys::deleteValue(key.get(), name);
    if (error == ERROR_FILE_NOT_FOUND) error = 0;
  } else {
    AString stored(value.bytes.view());
    if (isString(value.type)) stored.append('\0');
    if (stored.failed()) return ERROR_NOT_ENOUGH_MEMORY;
    error = sys::setValue(key.get(), name, value.type,
                          reinterpret_cast<const BYTE*>(stored.c_str()), stored.length());
  }
  if (error) return error;
  RegistryValue back = readRegistryValue(root, path, name, view);
  if (value.error)
    return back.error == ERROR_FILE_NOT_FOUND ? 0 : back.error ? back.error : ERROR_INVALID_DATA;
  if (back.error) return back.error == ERROR_FILE_NOT_FOUND ? ERROR_INVALID_DATA : back.error;
  return back.type == value.type && back.bytes.view() == value.bytes.view() ? 0
                                                                            : ERROR_INVALID_DATA;
}

}  // namespace orv
