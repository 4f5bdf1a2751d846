#pragma once

#include "platform/astring.h"

namespace orv {

// "nostartup" anywhere in the tail, in any letter case.
bool startupSwitchedOff(ByteView commandTail);

// A shortcut whose first 8 bytes spell "disabled" in any letter case.
bool isDisabledName(ByteView name);

// The name the Startup run opens for a listed entry, or empty when it skips the
// entry: disabled names, and names that match "*.lnk" only through their short
// name ("Mail.lnk_old"). A name holding "?" (a character the ANSI code page
// lacks) is opened by its short name; without one it stays as listed, and the
// launcher refuses it.
ByteView shortcutToRun(ByteView name, ByteView shortName);

// The name of the mutex that the Startup run of `folder` holds for the life of
// the process: the same for every spelling of the folder that differs only in
// ASCII case.
void appendStartupMutexName(AString& out, ByteView folder);

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
