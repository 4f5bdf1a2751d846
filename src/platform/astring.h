#pragma once

// Byte strings in the ANSI code page, with an explicit length; they may hold
// NUL bytes. The product links no C++ library, so this is its only string.

namespace orv {

void* memAlloc(unsigned size);  // null when the heap is exhausted
void memFree(void* block);
void copyBytes(void* to, const void* from, unsigned count);

// A read-only view of bytes owned elsewhere.
struct ByteView {
  const char* ptr = "";
  unsigned size = 0;

  constexpr ByteView() = default;
  constexpr ByteView(const char* p, unsigned n) : ptr(p), size(n) {}
  template <unsigned N>
  constexpr ByteView(const char (&literal)[N]) : ptr(literal), size(N - 1) {}

  static ByteView ofCString(const char* s);
  constexpr bool empty() const { return size == 0; }
  constexpr unsigned char at(unsigned i) const { return static_cast<unsigned char>(ptr[i]); }
  ByteView mid(unsigned from, unsigned count = ~0u) const;
  int find(char c, unsigned from = 0) const;  // -1 when absent
  int findLast(char c) const;
  bool operator==(ByteView other) const;
};

// Heap-backed string. An allocation failure marks the string failed for good:
// later changes are ignored, so a caller builds a whole text and checks
// failed() once, at the point where it decides what running out of memory
// means for that text (drop a log line, report error 7, ...).
class AString {
 public:
  constexpr AString() = default;
  explicit AString(ByteView v);
  ~AString();
  AString(AString&& other);
  AString& operator=(AString&& other);
  AString(const AString&) = delete;
  AString& operator=(const AString&) = delete;

  unsigned length() const { return len_; }
  bool empty() const { return len_ == 0; }
  bool failed() const { return failed_; }
  // Always NUL-terminated.
  const char* c_str() const;
  // Null until something was reserved.
  char* data() { return buf_; }
  ByteView view() const;
  operator ByteView() const { return view(); }

  AString& append(ByteView v);
  AString& append(char c);
  AString& assign(ByteView v);
  // Makes room for n bytes plus a NUL and sets the length to n; the new bytes
  // are filled with `fill`. For buffers that the system writes into.
  bool resize(unsigned n, char fill = 0);
  void truncate(unsigned n);
  void markFailed() { failed_ = true; }

 private:
  bool reserve(unsigned n);
  bool holds(const char* p) const { return buf_ && p >= buf_ && p < buf_ + cap_; }
  char* buf_ = nullptr;
  unsigned len_ = 0;
  unsigned cap_ = 0;
  bool failed_ = false;
};

}  // namespace orv
