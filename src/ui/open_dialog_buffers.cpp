#include "ui/open_dialog_buffers.h"

namespace orv {

void convertFilter(AString& out, ByteView filter) {
  for (unsigned i = 0; i < filter.size; ++i)
    out.append(filter.ptr[i] == '|' ? '\0' : filter.ptr[i]);
  out.append('\0');
}

void fillNameBuffer(AString& buffer, ByteView initialName) {
  int nul = initialName.find('\0');
  unsigned keep = nul >= 0 ? static_cast<unsigned>(nul) : initialName.size;
  if (keep > kNameBufferSize - 1) keep = kNameBufferSize - 1;
  buffer.assign(initialName.mid(0, keep));
  buffer.append('\0');
  buffer.resize(kNameBufferSize, ' ');
}

ByteView readBackName(ByteView buffer) {
  int last = buffer.findLast('\0');
  return last < 0 ? ByteView() : buffer.mid(0, static_cast<unsigned>(last));
}

}  // namespace orv
