#pragma once

#include "platform/astring.h"

namespace orv {

// Decimal text of a number as messages show it: one blank before a
// non-negative value, "-" before a negative one, nothing after the digits.
void appendNumber(AString& out, long value);

// Decimal digits only, no blank and no sign for non-negative values.
void appendDigits(AString& out, unsigned long value);

unsigned char lowerAscii(unsigned char c);
bool equalsIgnoringAsciiCase(ByteView a, ByteView b);

}  // namespace orv
