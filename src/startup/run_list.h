#pragma once

#include "platform/astring.h"

namespace orv {

// "nostartup" anywhere in the tail, in any letter case.
bool startupSwitchedOff(ByteView commandTail);

// A shortcut whose first 8 bytes spell "disabled" in any letter case.
bool isDisabledName(ByteView name);

// Whether the Startup run opens a listed entry: names ending in ".lnk" (not
// "Mail.lnk_old", which "*.lnk" matches through its short name) that are not
// disabled.
bool runsAtStartup(ByteView name);

// What the bytes that name a folder are: the file system's identity of it,
// taken byte for byte (file indexes 0x41 and 0x61 are two folders), or the
// spelling of its path, whose ASCII letters the system reads in any case.
enum class FolderKey { identity, spelling };

// The name of the mutex that the Startup run of a folder holds for the life of
// the process, from the bytes that name the folder: for a spelling, the same
// for spellings that differ only in the case of ASCII letters outside
// two-byte characters.
void appendStartupMutexName(AString& out, ByteView key, FolderKey kind);

// Byte order: unsigned bytes, a prefix before the longer name.
bool sortsBefore(ByteView a, ByteView b);

// The names to open, kept in byte order as they are added.
class RunList {
 public:
  RunList() = default;
  ~RunList();
  RunList(const RunList&) = delete;
  RunList& operator=(const RunList&) = delete;

  // False when memory ran out; the list is then unchanged.
  bool insert(ByteView name);
  unsigned count() const { return count_; }
  const AString& operator[](unsigned i) const { return items_[i]; }

 private:
  AString* items_ = nullptr;
  unsigned count_ = 0;
  unsigned capacity_ = 0;
};

}  // namespace orv
