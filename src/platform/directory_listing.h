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
  // and no other: unchanged, or ending in its 8.3 name. False when neither
  // name reaches it. The ANSI calls list a character the code page lacks as a
  // look-alike ("Ādobe.lnk" as "Adobe.lnk") or as "?", so a listed name
  // may reach another file, or none.
  bool reachOwn(AString& path) const;

 private:
  ScopedFind find_;
  WIN32_FIND_DATAA entry_;
  DWORD allowed_;
  bool started_ = false;
};

// Leaves a full `path` (a file the Open dialog gave) naming the file that was
// listed under its name: unchanged, or by its 8.3 name when only that reaches
// it. False when no name reaches that file alone, or when two files of its
// folder list under that name: which one was picked cannot be told.
bool reachesOwnFile(AString& path);

}  // namespace orv
