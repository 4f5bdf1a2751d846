#include "app/command_tail.h"

namespace orv {

namespace {

const char* skipSpaces(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

}  // namespace

ByteView commandTailOf(const char* commandLine) {
  const auto* p = reinterpret_cast<const unsigned char*>(commandLine);
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (!*p) return ByteView();  // no closing quote: all of it is the name
    ++p;
  } else if (*p != ' ') {
    if (*p) ++p;  // the first byte is part of the name, whatever it is
    while (*p > ' ') ++p;
  }
  // Only blanks separate the name from the tail; a tab stays in the tail.
  return ByteView::ofCString(skipSpaces(reinterpret_cast<const char*>(p)));
}

}  // namespace orv
