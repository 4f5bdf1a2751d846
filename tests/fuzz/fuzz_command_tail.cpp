// The tail is always the end of the line itself, never starts with a blank,
// and keeps every byte after the program name.
#include "app/command_tail.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.c_str();  // the system's command line ends at its first NUL
  orv::ByteView tail = orv::commandTailOf(line.c_str());
  FUZZ_CHECK(tail.empty() ||
             (tail.ptr >= line.c_str() && tail.ptr + tail.size == line.c_str() + line.size()));
  FUZZ_CHECK(tail.empty() || tail.ptr[0] != ' ');
  if (!line.empty() && line[0] == '"') {
    size_t close = line.find('"', 1);
    FUZZ_CHECK(close != std::string::npos || tail.empty());
    if (close != std::string::npos) FUZZ_CHECK(tail.ptr >= line.c_str() + close + 1);
  }
  return 0;
}
