#include "platform/directory_listing.h"

#include "platform/fs.h"

namespace orv {

namespace {
constexpr DWORD kFilteredAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
}

DirectoryListing::DirectoryListing(const char* pattern, DWORD allowedAttributes)
    : allowed_(allowedAttributes) {
  QuietErrors quiet;
  find_.reset(FindFirstFileA(pattern, &entry_));
}

ByteView DirectoryListing::next() {
  while (find_) {
    if (started_) {
      QuietErrors quiet;
      if (!FindNextFileA(find_.get(), &entry_)) {
        find_.reset();
        break;
      }
    }
    started_ = true;
    ByteView name = ByteView::ofCString(entry_.cFileName);
    bool dots = name == "." || name == "..";
    if (!dots && !(entry_.dwFileAttributes & kFilteredAttributes & ~allowed_)) return name;
  }
  return ByteView();
}

}  // namespace orv
