#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../bytes.h"

// A broken invariant stops the fuzzer with the input that broke it.
#define FUZZ_CHECK(cond)       \
  do {                         \
    if (!(cond)) std::abort(); \
  } while (0)
