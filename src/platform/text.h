#pragma once

#include "platform/astring.h"

namespace orv {

// Decimal text of a number as messages show it: one blank before a
// non-negative value, "-" before a negative one, nothing after the digits.
void appendNumber(AString& out, long value);

// Decimal digits only, no blank and no sign for non-negative values.
void appendDigits(AString& out, unsigned long value);

// A table that gives numbers their fixed texts, packed as one string: each
// row is the number as one byte, then its text and a NUL. Packed rather than
// a table of pointers: the exe then needs no relocation per text.
// The text of `number` in the table; empty when it has no row.
ByteView textOf(const char* rows, unsigned size, int number);
template <unsigned N>
ByteView textOf(const char (&rows)[N], int number) {
  return textOf(rows, N - 1, number);
}

// `text` made one line, in place: every CR and LF a blank; the view leaves
// out the blanks at its end.
ByteView asOneLine(char* text, unsigned size);

unsigned char lowerAscii(unsigned char c);
bool equalsIgnoringAsciiCase(ByteView a, ByteView b);

// Whether `c` opens a two-byte character in the ANSI code page. The system
// answers (fs.cpp); the host tests stand in for it with code page 932.
bool isLeadByte(unsigned char c);

}  // namespace orv
