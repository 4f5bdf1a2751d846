#include "platform/scoped.h"

#include "platform/fs.h"
#include "platform/system.h"

namespace orv {

void FileTraits::close(HANDLE h) {
  QuietErrors quiet;
  CloseHandle(h);
}

void FindTraits::close(HANDLE h) {
  QuietErrors quiet;
  FindClose(h);
}

void SeamHandleTraits::close(HANDLE h) { sys::closeHandle(h); }

void KeyTraits::close(HKEY key) { sys::closeKey(key); }

}  // namespace orv
