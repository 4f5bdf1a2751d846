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

// Handles whose calls answer null for none.
template <typename H>
struct NullMeansNone {
  using Handle = H;
  static Handle none() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
};

// Handles that calls of the system seam give (an access token, a logon
// event): closed through the seam too, so that tests can count them.
struct SeamHandleTraits : NullMeansNone<HANDLE> {
  static void close(Handle h);
};
using ScopedToken = Scoped<SeamHandleTraits>;
using ScopedEvent = Scoped<SeamHandleTraits>;

struct KeyTraits : NullMeansNone<HKEY> {
  static void close(Handle h);
};
using ScopedKey = Scoped<KeyTraits>;

}  // namespace orv
