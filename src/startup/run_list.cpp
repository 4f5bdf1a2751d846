#include "startup/run_list.h"

#include <new>

#include "platform/text.h"

namespace orv {

bool startupSwitchedOff(ByteView tail) {
  constexpr ByteView word("nostartup");
  for (unsigned i = 0; i + word.size <= tail.size; ++i)
    if (equalsIgnoringAsciiCase(tail.mid(i, word.size), word)) return true;
  return false;
}

bool isDisabledName(ByteView name) {
  return name.size >= 8 && equalsIgnoringAsciiCase(name.mid(0, 8), "disabled");
}

bool runsAtStartup(ByteView name) {
  return !isDisabledName(name) && name.size >= 4 &&
         equalsIgnoringAsciiCase(name.mid(name.size - 4), ".lnk");
}

void appendStartupMutexName(AString& out, ByteView key, FolderKey kind) {
  // A hash keeps the name within the system's limit whatever the folder's
  // length, and free of the backslash that object names may not hold.
  bool spelling = kind == FolderKey::spelling;
  unsigned long hash = 2166136261u;  // FNV-1a
  for (unsigned i = 0; i < key.size; ++i) {
    unsigned char c = key.at(i);
    hash = ((hash ^ (spelling ? lowerAscii(c) : c)) * 16777619u) & 0xFFFFFFFFu;
    if (spelling && characterSize(key, i) == 2)
      hash = ((hash ^ key.at(++i)) * 16777619u) & 0xFFFFFFFFu;
  }
  appendDigits(out.append("Orvalix Startup "), hash);
}

bool sortsBefore(ByteView a, ByteView b) {
  unsigned n = a.size < b.size ? a.size : b.size;
  for (unsigned i = 0; i < n; ++i)
    if (a.at(i) != b.at(i)) return a.at(i) < b.at(i);
  return a.size < b.size;
}

RunList::~RunList() {
  for (unsigned i = 0; i < count_; ++i) items_[i].~AString();
  memFree(items_);
}

bool RunList::insert(ByteView name) {
  AString entry(name);
  if (entry.failed()) return false;
  if (count_ == capacity_) {
    if (capacity_ > 0x0FFFFFFFu / sizeof(AString)) return false;
    unsigned capacity = capacity_ ? capacity_ * 2 : 16;
    auto* grown = static_cast<AString*>(memAlloc(capacity * sizeof(AString)));
    if (!grown) return false;
    for (unsigned i = 0; i < count_; ++i) {
      new (&grown[i]) AString(static_cast<AString&&>(items_[i]));
      items_[i].~AString();
    }
    memFree(items_);
    items_ = grown;
    capacity_ = capacity;
  }
  // Walk down from the end, moving each later name one place up.
  unsigned slot = count_;
  new (&items_[slot]) AString();
  while (slot > 0 && sortsBefore(entry, items_[slot - 1])) {
    items_[slot] = static_cast<AString&&>(items_[slot - 1]);
    --slot;
  }
  items_[slot] = static_cast<AString&&>(entry);
  ++count_;
  return true;
}

}  // namespace orv
