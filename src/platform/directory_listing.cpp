#include "platform/directory_listing.h"

#include <stddef.h>
#include <string.h>

#include "platform/fs.h"
#include "platform/text.h"

namespace orv {

namespace {

constexpr DWORD kFilteredAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

HANDLE findFirst(const char* pattern, WIN32_FIND_DATAA* entry) {
  QuietErrors quiet;
  return FindFirstFileA(pattern, entry);
}

// Whether looking `path` up, by the full name that the shell would get,
// finds the entry `listed`: the same attributes, creation and write times,
// size and 8.3 name (the access time may move between the two reads).
bool findsEntry(const AString& path, const WIN32_FIND_DATAA& listed) {
  WIN32_FIND_DATAA found;
  ScopedFind lookup(findFirst(fullPath(path.c_str()).c_str(), &found));
  found.ftLastAccessTime = listed.ftLastAccessTime;
  return lookup && !memcmp(&found, &listed, offsetof(WIN32_FIND_DATAA, dwReserved0)) &&
         ByteView::ofCString(found.cAlternateFileName) ==
             ByteView::ofCString(listed.cAlternateFileName);
}

}  // namespace

DirectoryListing::DirectoryListing(const char* pattern, DWORD allowedAttributes)
    : find_(findFirst(pattern, &entry_)), allowed_(allowedAttributes) {}

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

bool DirectoryListing::reachOwn(AString& path) const {
  // "?" or "*" would make the name a pattern.
  if (!holdsWildcard(path) && findsEntry(path, entry_)) return true;
  ByteView alternate = ByteView::ofCString(entry_.cAlternateFileName);
  path.truncate(path.length() - ByteView::ofCString(entry_.cFileName).size);
  path.append(alternate);
  return !alternate.empty() && findsEntry(path, entry_);
}

bool reachesOwnFile(AString& path) {
  ByteView whole = path;
  unsigned cut = static_cast<unsigned>(whole.findLast('\\') + 1);
  AString pattern(whole.mid(0, cut)), own;
  // Every entry: a look-alike may be hidden, or a folder.
  DirectoryListing entries(pattern.append('*').c_str(), ~0ul);
  int listed = 0;
  for (ByteView name = entries.next(); !name.empty(); name = entries.next()) {
    if (!equalsIgnoringAsciiCase(name, whole.mid(cut))) continue;
    own.assign(whole);
    if (!entries.reachOwn(own)) return false;
    ++listed;
  }
  if (listed > 1 || own.failed() || pattern.failed()) return false;
  // Listed under no name: typed rather than converted by the dialog, so it
  // names its own file as the system reads it.
  if (listed) path = static_cast<AString&&>(own);
  return true;
}

}  // namespace orv
