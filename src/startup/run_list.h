#pragma once

#include "platform/astring.h"

namespace orv {

// "nostartup" anywhere in the trimmed tail, in any letter case.
bool startupSwitchedOff(ByteView commandTail);

// A shortcut whose first 8 bytes spell "disabled" in any letter case.
bool isDisabledName(ByteView name);

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
