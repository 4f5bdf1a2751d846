#include "platform/astring.h"

namespace orv {

void copyBytes(void* to, const void* from, unsigned count) {
  auto* d = static_cast<unsigned char*>(to);
  auto* s = static_cast<const unsigned char*>(from);
  if (d < s) {
    for (unsigned i = 0; i < count; ++i) d[i] = s[i];
  } else {
    while (count--) d[count] = s[count];
  }
}

ByteView ByteView::ofCString(const char* s) {
  if (!s) return ByteView();
  unsigned n = 0;
  while (s[n]) ++n;
  return ByteView(s, n);
}

ByteView ByteView::mid(unsigned from, unsigned count) const {
  if (from > size) from = size;
  if (count > size - from) count = size - from;
  return ByteView(ptr + from, count);
}

int ByteView::find(char c, unsigned from) const {
  for (unsigned i = from; i < size; ++i)
    if (ptr[i] == c) return static_cast<int>(i);
  return -1;
}

int ByteView::findLast(char c) const {
  for (unsigned i = size; i-- > 0;)
    if (ptr[i] == c) return static_cast<int>(i);
  return -1;
}

bool ByteView::operator==(ByteView other) const {
  if (size != other.size) return false;
  for (unsigned i = 0; i < size; ++i)
    if (ptr[i] != other.ptr[i]) return false;
  return true;
}

AString::AString(AString&& other)
    : buf_(other.buf_), len_(other.len_), cap_(other.cap_), failed_(other.failed_) {
  other.buf_ = nullptr;
  other.len_ = other.cap_ = 0;
}

AString& AString::operator=(AString&& other) {
  if (this != &other) {
    memFree(buf_);
    buf_ = other.buf_;
    len_ = other.len_;
    cap_ = other.cap_;
    failed_ = other.failed_;
    other.buf_ = nullptr;
    other.len_ = other.cap_ = 0;
  }
  return *this;
}

bool AString::reserve(unsigned n) {
  if (failed_) return false;
  if (n < cap_) return true;
  if (n >= 0x7FFFFFF0u - 16) {  // the length would not fit with its NUL
    failed_ = true;
    return false;
  }
  unsigned cap = cap_ ? cap_ : 16;
  while (cap <= n) cap = cap > 0x3FFFFFFFu ? n + 1 : cap * 2;
  char* fresh = static_cast<char*>(memAlloc(cap));
  if (!fresh) {
    failed_ = true;
    return false;
  }
  if (buf_) copyBytes(fresh, buf_, len_ + 1);
  memFree(buf_);
  buf_ = fresh;
  cap_ = cap;
  return true;
}

AString::AString(ByteView v) { append(v); }

AString::~AString() { memFree(buf_); }

const char* AString::c_str() const { return buf_ ? buf_ : ""; }

ByteView AString::view() const { return ByteView(c_str(), len_); }

AString& AString::append(ByteView v) {
  if (v.size > 0x7FFFFFF0u - len_) {
    failed_ = true;
    return *this;
  }
  // v may point into this string, and growing frees the buffer it points
  // into: keep its place as an offset across the move.
  bool own = holds(v.ptr);
  unsigned offset = own ? static_cast<unsigned>(v.ptr - buf_) : 0;
  if (!reserve(len_ + v.size)) return *this;
  copyBytes(buf_ + len_, own ? buf_ + offset : v.ptr, v.size);
  len_ += v.size;
  buf_[len_] = 0;
  return *this;
}

AString& AString::append(char c) { return append(ByteView(&c, 1)); }

AString& AString::assign(ByteView v) {
  if (holds(v.ptr)) {
    copyBytes(buf_, v.ptr, v.size);
    truncate(v.size);
    return *this;
  }
  truncate(0);
  return append(v);
}

bool AString::resize(unsigned n, char fill) {
  if (!reserve(n)) return false;
  for (unsigned i = len_; i < n; ++i) buf_[i] = fill;
  len_ = n;
  buf_[n] = 0;
  return true;
}

void AString::truncate(unsigned n) {
  if (n < len_) {
    len_ = n;
    buf_[n] = 0;
  }
}

}  // namespace orv
