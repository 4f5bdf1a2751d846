#include "platform/directory_listing.h"

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

bool findNext(HANDLE search, WIN32_FIND_DATAA* entry) {
  QuietErrors quiet;
  return FindNextFileA(search, entry);
}

// Whether looking `path` up, by the full name that the shell would get,
// finds the entry `listed`: a file or folder alike, by the same name and 8.3
// name, which no other entry of its folder has. Not by its times or size: a
// folder's write time moves whenever an entry in it comes or goes, a file's
// while it is written, and a busy folder on the way would be refused.
// A folder on the way keeps the blanks that end its name, but looked up by
// itself it would lose them, as the last name of a path does: such a name is
// looked up as the start of a pattern, which keeps them and which no 8.3
// name can match (none holds a blank). 0, or the error number of why not.
int lookUp(const AString& path, const WIN32_FIND_DATAA& listed) {
  bool blankEnd = !path.empty() && path.view().at(path.length() - 1) == ' ';
  AString name(path.view());
  if (blankEnd) name.append('*');
  AString full = fullPath(name.c_str());
  if (name.failed() || full.failed()) return kErrorOutOfMemory;
  WIN32_FIND_DATAA found;
  ScopedFind lookup(findFirst(full.c_str(), &found));
  for (bool more = bool(lookup); more; more = blankEnd && findNext(lookup.get(), &found)) {
    if (!((found.dwFileAttributes ^ listed.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY) &&
        ByteView::ofCString(found.cFileName) == ByteView::ofCString(listed.cFileName) &&
        ByteView::ofCString(found.cAlternateFileName) ==
            ByteView::ofCString(listed.cAlternateFileName))
      return 0;
  }
  return kErrorBadFileName;
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
// that one reaches it, or where the system cuts the name (`cut`).
int reachOwnName(AString& reached, ByteView name, bool cut) {
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
    if (int refused = entries.makeReachOwn(reached.append(name), cut)) return refused;
  }
  if (listed) return 0;
  // Listed under no name: typed rather than converted from the system's own
  // name, so it names its own entry as the system reads it; unless the
  // system reads another name.
  if (cut) return kErrorBadFileName;
  reached.append(name);
  return 0;
}

}  // namespace

DirectoryListing::DirectoryListing(const char* pattern, DWORD allowedAttributes)
    : find_(findFirst(pattern, &entry_)), allowed_(allowedAttributes) {}

ByteView DirectoryListing::next() {
  while (find_) {
    if (started_ && !findNext(find_.get(), &entry_)) {
      find_.reset();
      break;
    }
    started_ = true;
    ByteView name = ByteView::ofCString(entry_.cFileName);
    bool dots = name == "." || name == "..";
    if (!dots && !(entry_.dwFileAttributes & kFilteredAttributes & ~allowed_)) return name;
  }
  return ByteView();
}

int DirectoryListing::makeReachOwn(AString& path, bool cut) const {
  // "?" or "*" would make the name a pattern.
  if (!cut && !holdsWildcard(path)) {
    int found = lookUp(path, entry_);
    if (found != kErrorBadFileName) return found;
  }
  ByteView alternate = ByteView::ofCString(entry_.cAlternateFileName);
  if (alternate.empty()) return kErrorBadFileName;
  path.truncate(path.length() - ByteView::ofCString(entry_.cFileName).size);
  return lookUp(path.append(alternate), entry_);
}

int makeReachOwnFile(AString& path) {
  // The names as given, the last one's end included: the system keeps every
  // blank and dot that ends a name of a path but for one period at the end
  // of any name, and all of them at the end of the last, unless a separator
  // follows (Microsoft, "File path formats on Windows systems"). Where it
  // cuts the last, the name the shell would get reaches another entry.
  AString full = fullPath(path.c_str()), given(path.view()), reached;
  AString named = fullPath(given.append('\\').c_str());
  if (full.failed() || given.failed() || named.failed()) return kErrorOutOfMemory;
  ByteView whole = full.empty() ? ByteView() : named.view().mid(0, named.length() - 1);
  bool lastCut = !(whole == full.view());
  unsigned at = rootSize(whole);
  reached.assign(whole.mid(0, at));
  while (at < whole.size) {
    int separator = findSeparator(whole, at);
    unsigned end = separator < 0 ? whole.size : static_cast<unsigned>(separator);
    if (int refused = reachOwnName(reached, whole.mid(at, end - at), separator < 0 && lastCut))
      return refused;
    if (separator >= 0) reached.append('\\');
    at = end + 1;
  }
  if (reached.failed()) return kErrorOutOfMemory;
  path = static_cast<AString&&>(reached);
  return 0;
}

}  // namespace orv
