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

unsigned characterSize(ByteView text, unsigned at) {
  return isLeadByte(text.at(at)) && at + 1 < text.size ? 2 : 1;
}

int findSeparator(ByteView path, unsigned from) {
  for (unsigned i = from; i < path.size; i += characterSize(path, i))
    if (path.at(i) == '\\') return static_cast<int>(i);
  return -1;
}

int findLastSeparator(ByteView path) {
  int last = -1;
  for (int at = findSeparator(path); at >= 0; at = findSeparator(path, at + 1)) last = at;
  return last;
}

bool equalsIgnoringAsciiCase(ByteView a, ByteView b) {
  if (a.size != b.size) return false;
  for (unsigned i = 0, size; i < a.size; i += size) {
    size = characterSize(a, i);
    // A lead byte is no ASCII letter: it is compared as it is.
    if (lowerAscii(a.at(i)) != lowerAscii(b.at(i))) return false;
    if (size == 2 && a.at(i + 1) != b.at(i + 1)) return false;
  }
  return true;
}

}  // namespace orv
