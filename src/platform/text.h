#pragma once

#include "platform/astring.h"

namespace orv {

// Decimal text of a number as messages show it: one blank before a
// non-negative value, "-" before a negative one, nothing after the digits.
void appendNumber(AString& out, long value);

// Decimal digits only, no blank and no sign for non-negative values.
void appendDigits(AString& out, unsigned long value);

// Error numbers name a failure for the user (1..255, each with a fixed text).
int errorNumberFromCode(unsigned long platformCode);
ByteView errorText(int errorNumber);  // empty for a number without a text

unsigned char lowerAscii(unsigned char c);
bool equalsIgnoringAsciiCase(ByteView a, ByteView b);

}  // namespace orv
