// The name buffer is always 8192 bytes with a NUL in it; read back untouched
// it gives the initial name up to its first NUL; whatever the dialog writes
// into it, read-back stays inside the buffer and ends before its last NUL.
#include "fuzz.h"
#include "ui/open_dialog_buffers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\xff');
  std::string initial = input.substr(0, split);
  std::string written = split == std::string::npos ? "" : input.substr(split + 1);

  orv::AString buffer;
  orv::fillNameBuffer(buffer, viewOf(initial));
  FUZZ_CHECK(!buffer.failed() && buffer.length() == orv::kNameBufferSize);
  std::string expected = initial.substr(0, initial.find('\0')).substr(0, 8191);
  FUZZ_CHECK(str(orv::readBackName(buffer)) == expected);

  for (size_t i = 0; i < written.size() && i < buffer.length(); ++i) buffer.data()[i] = written[i];
  orv::ByteView back = orv::readBackName(buffer);
  FUZZ_CHECK(back.empty() || (back.ptr == buffer.c_str() && back.size < buffer.length()));
  FUZZ_CHECK(back.size == 0 || buffer.c_str()[back.size] == '\0');
  for (size_t i = back.size + 1; i < buffer.length(); ++i) FUZZ_CHECK(buffer.c_str()[i] != '\0');
  return 0;
}
