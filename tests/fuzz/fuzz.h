#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/astring.h"

// A broken invariant stops the fuzzer with the input that broke it.
#define FUZZ_CHECK(cond)       \
  do {                         \
    if (!(cond)) std::abort(); \
  } while (0)

inline orv::ByteView viewOf(const std::string& s) {
  return orv::ByteView(s.data(), static_cast<unsigned>(s.size()));
}

inline std::string str(orv::ByteView v) { return std::string(v.ptr, v.size); }
