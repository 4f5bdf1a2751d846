#include "platform/fs.h"

#include "platform/scoped.h"

namespace orv {

void FileTraits::close(HANDLE h) {
  QuietErrors quiet;
  CloseHandle(h);
}

void FindTraits::close(HANDLE h) {
  QuietErrors quiet;
  FindClose(h);
}

AString currentDirectory(DWORD* error) {
  AString dir;
  DWORD size = MAX_PATH;
  for (;;) {
    if (!dir.resize(size)) {
      *error = ERROR_NOT_ENOUGH_MEMORY;
      return dir;
    }
    DWORD n;
    {
      QuietErrors quiet;
      n = GetCurrentDirectoryA(size, dir.data());
      *error = QuietErrors::error();
    }
    if (*error == 0 && n == 0) *error = ERROR_INVALID_FUNCTION;
    if (*error || n < size) {
      dir.truncate(*error ? 0 : n);
      return dir;
    }
    size = n;  // too small: n is the size needed, its NUL included
  }
}

bool pathExists(const AString& path) {
  QuietErrors quiet;
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD changeDirectory(const AString& path) {
  QuietErrors quiet;
  SetCurrentDirectoryA(path.c_str());
  return QuietErrors::error();
}

}  // namespace orv
