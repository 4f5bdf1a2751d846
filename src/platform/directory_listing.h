#pragma once

#include "platform/astring.h"
#include "platform/scoped.h"
#include "platform/win.h"

namespace orv {

// The bare names that a directory search finds, skipping "." and ".." and
// entries that carry the hidden, system or directory attribute unless the
// listing allows it. The search is closed when the listing ends.
class DirectoryListing {
 public:
  DirectoryListing(const char* pattern, DWORD allowedAttributes);

  // The next accepted name; empty when there is none.
  ByteView next();
  // The 8.3 name of the entry that next() returned; empty when it has none.
  ByteView shortName() const { return ByteView::ofCString(entry_.cAlternateFileName); }

 private:
  ScopedFind find_;
  WIN32_FIND_DATAA entry_;
  DWORD allowed_;
  bool started_ = false;
};

}  // namespace orv
