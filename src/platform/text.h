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

// Whether `c` opens a two-byte character in the ANSI code page. The system
// answers (fs.cpp); the host tests stand in for it with code page 932.
bool isLeadByte(unsigned char c);

// Text read as the ANSI code page reads it: the byte after a lead byte is
// part of its character whatever its value, so it is never a path separator
// (the second byte of many code page 932 characters is 0x5C, "\") and never
// a letter to fold (0x83 0x41 and 0x83 0x61 are two different characters).
// The bytes of the character at `at`: 2 for a lead byte with one after it.
unsigned characterSize(ByteView text, unsigned at);
// The first "\" at or after `from` (where a character starts); -1 if none.
int findSeparator(ByteView path, unsigned from = 0);
int findLastSeparator(ByteView path);
// Equal but for the letter case of ASCII letters that stand alone.
bool equalsIgnoringAsciiCase(ByteView a, ByteView b);

}  // namespace orv
