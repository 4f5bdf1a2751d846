#include "ui/dialog_template.h"

namespace orv {

namespace {

void appendWord(AString& out, unsigned value) {
  out.append(static_cast<char>(value & 0xFF)).append(static_cast<char>((value >> 8) & 0xFF));
}

void appendLong(AString& out, unsigned long value) {
  appendWord(out, value & 0xFFFF);
  appendWord(out, (value >> 16) & 0xFFFF);
}

void appendWide(AString& out, ByteView text) {
  for (unsigned i = 0; i < text.size; ++i) appendWord(out, text.at(i));
  appendWord(out, 0);
}

}  // namespace

void buildDialogTemplate(AString& out, const DialogLayout& d) {
  appendLong(out, d.style);
  appendLong(out, d.exStyle);
  appendWord(out, 0);  // no items: the buttons are created afterwards
  appendWord(out, static_cast<unsigned short>(d.x));
  appendWord(out, static_cast<unsigned short>(d.y));
  appendWord(out, static_cast<unsigned short>(d.cx));
  appendWord(out, static_cast<unsigned short>(d.cy));
  appendWord(out, 0);  // no menu
  appendWord(out, 0);  // the system dialog class
  appendWide(out, d.title);
  appendWord(out, d.pointSize);
  appendWide(out, d.face);
}

}  // namespace orv
