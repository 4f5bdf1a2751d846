#include "platform/fs.h"

#include "platform/grown_text.h"
#include "platform/late_bound.h"
#include "platform/scoped.h"
#include "platform/text.h"

namespace orv {

QuietErrors::QuietErrors()
    : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {
  SetLastError(0);
}

QuietErrors::~QuietErrors() { SetErrorMode(previous_); }

AString fullPath(const char* name) {
  return askGrowing(
      [](char* buffer, DWORD size, const void* name) {
        return GetFullPathNameA(static_cast<const char*>(name), size, buffer, nullptr);
      },
      name);
}

AString currentDirectory() {
  AString here = askGrowing([](char* buffer, DWORD size, const void*) -> DWORD {
    QuietErrors quiet;
    return GetCurrentDirectoryA(size, buffer);
  });
  if (!here.empty() && findLastSeparator(here) + 1 != static_cast<int>(here.length()))
    here.append('\\');
  return here;
}

AString systemDirectory() {
  return askGrowing([](char* buffer, DWORD size, const void*) -> DWORD {
    return GetSystemDirectoryA(buffer, size);
  });
}

ByteView shortPathOf(const AString& path, char (&spelled)[MAX_PATH]) {
  QuietErrors quiet;
  DWORD n = GetShortPathNameA(path.c_str(), spelled, MAX_PATH);
  return n && n < MAX_PATH ? ByteView(spelled, n) : path.view();
}

HANDLE openFile(const char* name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  QuietErrors quiet;
  return CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
}

HANDLE openFolder(const char* path) {
  // Traverse access counts in the system's sharing check, as the current
  // directory's own handle does; attributes let the folder's identity be read.
  return openFile(path, FILE_TRAVERSE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
}

AString fileIdentity(HANDLE file) {
  // FILE_ID_INFO, asked for by its class number (FileIdInfo, 18): the class is
  // Windows 8's and Server 2012's, the function Vista's. File systems without
  // such IDs answer zero.
  struct {
    ULONGLONG volume;
    DWORD id[4];
  } wide = {};
  using InfoFn = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);
  auto byHandleEx = asFunction<InfoFn>(kernelFunction("GetFileInformationByHandleEx"));
  bool hasWide = byHandleEx && byHandleEx(file, 18, &wide, sizeof wide) &&
                 (wide.id[0] | wide.id[1] | wide.id[2] | wide.id[3]);
  if (hasWide && (wide.id[2] | wide.id[3]))
    return AString(ByteView(reinterpret_cast<const char*>(&wide), sizeof wide));
  // An ID within 64 bits is the file index (NTFS): named as the index is, so
  // that a route to the file on which the newer call fails (some network
  // servers) gives the same bytes.
  BY_HANDLE_FILE_INFORMATION info;
  if (hasWide) {
    info.dwVolumeSerialNumber = static_cast<DWORD>(wide.volume);
    info.nFileIndexHigh = wide.id[1];
    info.nFileIndexLow = wide.id[0];
  } else if (!GetFileInformationByHandle(file, &info)) {
    return AString();
  }
  if (!(info.nFileIndexHigh | info.nFileIndexLow)) return AString();
  info.nNumberOfLinks = info.dwVolumeSerialNumber;  // next to the index
  return AString(ByteView(reinterpret_cast<const char*>(&info.nNumberOfLinks), 12));
}

bool holdsWildcard(ByteView name) { return name.find('?') >= 0 || name.find('*') >= 0; }

bool pathExists(const AString& path) {
  WIN32_FIND_DATAA entry;
  QuietErrors quiet;
  ScopedFind found(FindFirstFileA(path.c_str(), &entry));
  DWORD error = QuietErrors::error();
  return found || error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

DWORD changeDirectory(const AString& path) {
  QuietErrors quiet;
  SetCurrentDirectoryA(path.c_str());
  return QuietErrors::error();
}

// The ANSI code page's own rule, for the pure rules that must not fold the
// second byte of a two-byte character.
bool isLeadByte(unsigned char c) { return IsDBCSLeadByte(c); }

}  // namespace orv
