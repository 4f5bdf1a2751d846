#pragma once

#include "platform/astring.h"

namespace orv {

constexpr unsigned kNameBufferSize = 8192;

// "a|b|c" becomes "a\0b\0c\0"; with the string's own NUL that is the
// double-NUL-terminated list the Open dialog reads.
void convertFilter(AString& out, ByteView filter);

// The Open dialog's name buffer: the initial name up to its first NUL, one
// NUL, and blanks to 8192 bytes. The blanks let the chosen name be read back
// up to the last NUL. A name too long for the buffer is cut so one NUL fits.
void fillNameBuffer(AString& buffer, ByteView initialName);

// The name in the buffer: everything before its last NUL; empty without one.
ByteView readBackName(ByteView buffer);

}  // namespace orv
