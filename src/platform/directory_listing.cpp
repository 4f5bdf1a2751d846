#include "platform/directory_listing.h"

#include <stddef.h>
#include <string.h>

#include "platform/error_numbers.h"
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
// size and 8.3 name (the access time may move between the two reads). 0, or
// the error number of why not.
int lookUp(const AString& path, const WIN32_FIND_DATAA& listed) {
  AString full = fullPath(path.c_str());
  if (path.failed() || full.failed()) return kErrorOutOfMemory;
  WIN32_FIND_DATAA found;
  ScopedFind lookup(findFirst(full.c_str(), &found));
  found.ftLastAccessTime = listed.ftLastAccessTime;
  bool same = lookup && !memcmp(&found, &listed, offsetof(WIN32_FIND_DATAA, dwReserved0)) &&
              ByteView::ofCString(found.cAlternateFileName) ==
                  ByteView::ofCString(listed.cAlternateFileName);
  return same ? 0 : kErrorBadFileName;
}

// Where the first name of a full path starts: after C:\ or after
// \\server\share\ (as which \\?\C:\ is read).
unsigned rootSize(ByteView path) {
  int end = findSeparator(path);
  if (path.size > 1 && path.at(0) == '\\' && path.at(1) == '\\') {
    int server = findSeparator(path, 2);
    end = server < 0 ? -1 : findSeparator(path, server + 1);
  }
  return end < 0 ? path.size : end + 1;
}

// Adds to `reached`, a folder's path ending in a separator, the entry of that
// folder that lists under `name`: by that name, or by its 8.3 name where only
// that one reaches it.
int reachOwnName(AString& reached, ByteView name) {
  unsigned folder = reached.length();
  AString pattern(reached.view());
  if (pattern.append('*').failed()) return kErrorOutOfMemory;
  // Every entry: a look-alike may be hidden, or a folder.
  DirectoryListing entries(pattern.c_str(), ~0ul);
  int listed = 0;
  for (ByteView entry = entries.next(); !entry.empty(); entry = entries.next()) {
    if (!equalsIgnoringAsciiCase(entry, name)) continue;
    if (listed++) return kErrorBadFileName;
    reached.truncate(folder);
    if (int refused = entries.makeReachOwn(reached.append(name))) return refused;
  }
  // Listed under no name: typed rather than converted from the system's own
  // name, so it names its own entry as the system reads it.
  if (!listed) reached.append(name);
  return 0;
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

int DirectoryListing::makeReachOwn(AString& path) const {
  // "?" or "*" would make the name a pattern.
  if (!holdsWildcard(path)) {
    int found = lookUp(path, entry_);
    if (found != kErrorBadFileName) return found;
  }
  ByteView alternate = ByteView::ofCString(entry_.cAlternateFileName);
  if (alternate.empty()) return kErrorBadFileName;
  path.truncate(path.length() - ByteView::ofCString(entry_.cFileName).size);
  return lookUp(path.append(alternate), entry_);
}

int makeReachOwnFile(AString& path) {
  AString full = fullPath(path.c_str()), reached;
  if (full.failed()) return kErrorOutOfMemory;
  ByteView whole = full;
  unsigned at = rootSize(whole);
  reached.assign(whole.mid(0, at));
  while (at < whole.size) {
    int separator = findSeparator(whole, at);
    unsigned end = separator < 0 ? whole.size : static_cast<unsigned>(separator);
    if (int refused = reachOwnName(reached, whole.mid(at, end - at))) return refused;
    if (separator >= 0) reached.append('\\');
    at = end + 1;
  }
  if (reached.failed()) return kErrorOutOfMemory;
  path = static_cast<AString&&>(reached);
  return 0;
}

}  // namespace orv
