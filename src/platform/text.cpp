#include "platform/text.h"

namespace orv {

void appendDigits(AString& out, unsigned long value) {
  char digits[sizeof value * 3];  // a byte holds fewer than three decimal digits
  unsigned n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  while (n) out.append(digits[--n]);
}

void appendNumber(AString& out, long value) {
  if (value < 0) {
    out.append('-');
    appendDigits(out, 0ul - static_cast<unsigned long>(value));
  } else {
    out.append(' ');
    appendDigits(out, static_cast<unsigned long>(value));
  }
}

ByteView textOf(const char* rows, unsigned size, int number) {
  for (const char* row = rows; row < rows + size;) {
    ByteView text = ByteView::ofCString(row + 1);
    if (static_cast<unsigned char>(*row) == number) return text;
    row = text.ptr + text.size + 1;
  }
  return ByteView();
}

ByteView asOneLine(char* text, unsigned size) {
  for (unsigned i = 0; i < size; ++i)
    if (text[i] == '\r' || text[i] == '\n') text[i] = ' ';
  while (size && text[size - 1] == ' ') --size;
  return ByteView(text, size);
}

unsigned char lowerAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

bool equalsIgnoringAsciiCase(ByteView a, ByteView b) {
  if (a.size != b.size) return false;
  for (unsigned i = 0; i < a.size; ++i)
    if (lowerAscii(a.at(i)) != lowerAscii(b.at(i))) return false;
  return true;
}

}  // namespace orv
