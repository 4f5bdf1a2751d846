// The shell command's words ask for something exactly when the first is
// /shell; no value is read past its end; every record entry reads back as
// written, and bytes that are none read back as none.
#include "fuzz.h"
#include "session/shell_words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size), plain = text.c_str();
  orv::ShellRequest request = orv::shellRequestOf(viewOf(text));
  size_t at = text.find_first_not_of(' '), end = text.find(' ', at);
  std::string first = at == std::string::npos ? "" : text.substr(at, end - at);
  for (char& c : first) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  FUZZ_CHECK((request.action != orv::ShellAction::none) == (first == "/shell"));
  orv::namesOrvalix(viewOf(text));
  orv::RecordedValue before, read;
  before.there = size & 1, before.expand = before.there && (size & 2);
  if (before.there) before.text.assign(viewOf(plain));
  orv::AString entry, wrote;
  orv::appendRecordEntry(entry, before, viewOf(plain));
  FUZZ_CHECK(orv::readRecordEntry(entry, read, wrote) && read.there == before.there &&
             read.expand == before.expand && str(read.text) == str(before.text) &&
             str(wrote) == plain);
  orv::readRecordEntry(viewOf(text), read, wrote);
  return 0;
}
