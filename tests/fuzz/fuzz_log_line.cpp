// A log line is the 21-byte stamp, the source with ": " when there is one,
// and the message byte for byte.
#include <cstdio>

#include "fuzz.h"
#include "launch/log_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  orv::LocalTime t = {1601u + data[0] * 32u % 8399u,
                      1u + data[1] % 12u,
                      1u + data[2] % 31u,
                      data[3] % 24u,
                      data[4] % 60u,
                      data[5] % 60u};
  std::string rest(reinterpret_cast<const char*>(data) + 6, size - 6);
  size_t split = rest.find('\xff');
  std::string source = split == std::string::npos ? "" : rest.substr(0, split);
  std::string message = split == std::string::npos ? rest : rest.substr(split + 1);
  orv::AString line;
  orv::buildLogLine(line, t, viewOf(source), viewOf(message));
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02u-%02u-%04u %02u:%02u:%02u: ", t.month, t.day, t.year,
                t.hour, t.minute, t.second);
  FUZZ_CHECK(str(line) == stamp + (source.empty() ? "" : source + ": ") + message);
  return 0;
}
