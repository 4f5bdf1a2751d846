#pragma once

#include "platform/astring.h"

namespace orv {

struct DialogLayout {
  unsigned long style, exStyle;
  short x, y, cx, cy;
  ByteView title;
  unsigned short pointSize;
  ByteView face;
};

// The bytes of an in-memory DLGTEMPLATE without items: header, no menu, the
// system dialog class, the title and the font, texts as 16-bit units (each
// byte widened). The caller keeps the bytes DWORD-aligned.
void buildDialogTemplate(AString& out, const DialogLayout& layout);

}  // namespace orv
