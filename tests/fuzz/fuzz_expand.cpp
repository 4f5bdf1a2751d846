// Expansion against a plain reference implementation of the same rule, with
// values that are long and full of "%".
#include "fuzz.h"
#include "host_platform.h"
#include "launch/expand.h"

static std::string lookup(const std::string& name) {
  // The system is asked with a NUL-terminated name: it ends at a NUL byte.
  auto it = hostEnvironment.find(name.substr(0, 256).c_str());
  return it == hostEnvironment.end() ? std::string() : it->second;
}

static std::string reference(const std::string& path) {
  size_t at = path.find('%');
  if (at == std::string::npos) return path;
  std::string out = path.substr(0, at);
  for (size_t from = at + 1;;) {  // the text after an opening "%"
    size_t open = path.find('%', from);
    if (open == std::string::npos) return out.append(path, from);
    out += lookup(path.substr(from, open - from));
    size_t close = path.find('%', open + 1);
    if (close == std::string::npos) return out.append(path, open + 1);
    out.append(path, open + 1, close - open - 1);
    from = close + 1;
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (hostEnvironment.empty())
    hostEnvironment = {{"A", "%B%"}, {"B", std::string(4000, '%')},  {"P", "C:\\x"},
                       {"%", "pct"}, {std::string(256, 'n'), "cut"}, {"a b", "blank"}};
  // The launcher refuses longer paths before it expands anything.
  if (size > 255) return 0;
  std::string path(reinterpret_cast<const char*>(data), size);
  orv::AString got = orv::expandPath(viewOf(path));
  FUZZ_CHECK(!got.failed());
  FUZZ_CHECK(str(got) == reference(path));
  return 0;
}
