// Host stand-ins for the little that the pure rules need from the system.
#include <cstdlib>

#include "../bytes.h"
#include "host_platform.h"
#include "platform/astring.h"
#include "platform/environment.h"

std::map<std::string, std::string> hostEnvironment;

namespace orv {

void* memAlloc(unsigned size) { return std::malloc(size ? size : 1); }
void memFree(void* block) { std::free(block); }

AString environmentValue(const AString& name) {
  auto it = hostEnvironment.find(name.c_str());
  AString value;
  if (it != hostEnvironment.end()) value.append(viewOf(it->second));
  return value;
}

}  // namespace orv
