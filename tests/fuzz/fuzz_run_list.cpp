// Names split at LF: the run list holds every accepted name once per
// occurrence, in unsigned byte order, and no disabled one.
#include <algorithm>
#include <vector>

#include "fuzz.h"
#include "startup/run_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 256) return 0;  // up to 128 names: enough for the order, and fast
  std::string all(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> accepted;
  orv::RunList list;
  for (size_t at = 0; at <= all.size();) {
    size_t end = all.find('\n', at);
    if (end == std::string::npos) end = all.size();
    std::string name = all.substr(at, end - at);
    at = end + 1;
    if (orv::isDisabledName(viewOf(name))) continue;
    accepted.push_back(name);
    FUZZ_CHECK(list.insert(viewOf(name)));
  }
  std::sort(accepted.begin(), accepted.end(), [](const std::string& a, const std::string& b) {
    return orv::sortsBefore(viewOf(a), viewOf(b));
  });
  FUZZ_CHECK(list.count() == accepted.size());
  for (unsigned i = 0; i < list.count(); ++i) {
    FUZZ_CHECK(str(list[i]) == accepted[i]);
    FUZZ_CHECK(i == 0 || !orv::sortsBefore(list[i], list[i - 1]));
    // std::string compares bytes as unsigned, as the run list must.
    FUZZ_CHECK(i == 0 || !(str(list[i]) < str(list[i - 1])));
  }
  return 0;
}
