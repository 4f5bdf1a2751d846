#pragma once

#include "platform/astring.h"

namespace orv {

// Decimal text of a number as messages show it: one blank before a
// non-negative value, "-" before a negative one, nothing after the digits.
void appendNumber(AString& out, long value);

// Decimal digits only, no blank and no sign for non-negative values.
void appendDigits(AString& out, unsigned long value);

// One row of a table that gives a number its fixed text.
struct NumberText {
  unsigned char number;
  const char* text;
};

// The text of `number` in the table; empty when it has no row.
ByteView textOf(const NumberText* rows, unsigned count, int number);
template <unsigned N>
ByteView textOf(const NumberText (&rows)[N], int number) {
  return textOf(rows, N, number);
}

unsigned char lowerAscii(unsigned char c);
bool equalsIgnoringAsciiCase(ByteView a, ByteView b);

}  // namespace orv
