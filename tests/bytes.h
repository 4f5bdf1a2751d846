#pragma once

// Byte views of std::string and back, for the tests of code that takes and
// gives ByteView (an AString converts to one).
#include <string>

#include "platform/astring.h"

inline orv::ByteView viewOf(const std::string& s) {
  return orv::ByteView(s.data(), static_cast<unsigned>(s.size()));
}

inline std::string str(orv::ByteView v) { return std::string(v.ptr, v.size); }
