// Every "|" becomes a NUL, nothing else changes, one NUL is added.
#include "fuzz.h"
#include "ui/open_dialog_buffers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string filter(reinterpret_cast<const char*>(data), size);
  orv::AString out;
  orv::convertFilter(out, viewOf(filter));
  FUZZ_CHECK(out.length() == filter.size() + 1);
  for (size_t i = 0; i < filter.size(); ++i)
    FUZZ_CHECK(out.c_str()[i] == (filter[i] == '|' ? '\0' : filter[i]));
  FUZZ_CHECK(out.c_str()[filter.size()] == '\0' && out.c_str()[filter.size() + 1] == '\0');
  return 0;
}
