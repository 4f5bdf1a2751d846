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
  // Makes `path`, the entry that next() returned as listed (its name, after
  // a folder and "\\" or alone for the current directory), reach that entry
  // and no other: unchanged, or ending in its 8.3 name. The ANSI calls list a
  // character the code page lacks as a look-alike ("Ādobe.lnk" as
  // "Adobe.lnk") or as "?", so a listed name may reach another file, or none.
  // 0, or the error number of why not: kErrorBadFileName when neither name
  // reaches it, kErrorOutOfMemory. `cut`: the system would cut the name (the
  // blanks and dots that end the last name of a path): only the 8.3 name.
  int makeReachOwn(AString& path, bool cut = false) const;

 private:
  ScopedFind find_;
  WIN32_FIND_DATAA entry_;
  DWORD allowed_;
  bool started_ = false;
};

// Makes `path` (a file the Open dialog gave, the Startup folder) reach, name
// by name, the entries that list under its names: as written, or through 8.3
// names where only they reach them; a full path either way. A last name that
// ends in blanks or dots, which the system drops, is reached by its 8.3 name
// only. 0, or the error number of why not: kErrorBadFileName when no name
// reaches one of them, or when two entries of one folder list under one name
// (which one was meant cannot be told); kErrorOutOfMemory. `path` is left as
// it was then.
int makeReachOwnFile(AString& path);

}  // namespace orv
