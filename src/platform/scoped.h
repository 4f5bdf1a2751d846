#pragma once

#include "platform/win.h"

// One owner per handle kind: each closes its handle on every path.
namespace orv {

template <typename Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;
  Scoped() = default;
  explicit Scoped(Handle h) : h_(h) {}
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return Traits::valid(h_); }
  void reset(Handle h = Traits::none()) {
    if (Traits::valid(h_)) Traits::close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::none();
};

// Files and directory searches: an empty owner holds INVALID_HANDLE_VALUE,
// what their calls answer for none; null is never a valid handle either, so
// an owner can also take what calls answering null for none return.
struct InvalidMeansNone {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static bool valid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
};

// Closed with the system's error boxes suppressed, like every other
// file-system call.
struct FileTraits : InvalidMeansNone {
  static void close(Handle h);
};
using ScopedFile = Scoped<FileTraits>;

// A mutex is closed as a file is; CreateMutexA answers null for none.
using ScopedMutex = Scoped<FileTraits>;

struct FindTraits : InvalidMeansNone {
  static void close(Handle h);
};
using ScopedFind = Scoped<FindTraits>;

// An access token; closed through the system seam so tests can count it.
struct TokenTraits {
  using Handle = HANDLE;
  static Handle none() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h);
};
using ScopedToken = Scoped<TokenTraits>;

}  // namespace orv
