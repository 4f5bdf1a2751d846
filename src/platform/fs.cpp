#include "platform/fs.h"

#include "platform/grown_text.h"

namespace orv {

AString currentDirectory(DWORD* error) {
  AString dir = askGrowing(
      [](char* buffer, DWORD size, const void* context) {
        QuietErrors quiet;
        DWORD n = GetCurrentDirectoryA(size, buffer);
        DWORD code = QuietErrors::error();
        if (!n && !code) code = ERROR_INVALID_FUNCTION;
        **static_cast<DWORD* const*>(context) = code;
        return code ? 0 : n;
      },
      &error);
  if (dir.failed()) *error = ERROR_NOT_ENOUGH_MEMORY;
  if (!*error && dir.empty()) *error = ERROR_FILENAME_EXCED_RANGE;  // past the limit
  return dir;
}

bool holdsWildcard(ByteView name) { return name.find('?') >= 0 || name.find('*') >= 0; }

bool pathExists(const AString& path) {
  QuietErrors quiet;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  DWORD error = QuietErrors::error();
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

DWORD changeDirectory(const AString& path) {
  QuietErrors quiet;
  SetCurrentDirectoryA(path.c_str());
  return QuietErrors::error();
}

}  // namespace orv
