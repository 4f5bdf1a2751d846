// Host stand-ins for the little that the pure rules need from the system.
#include <cstdlib>

#include "../bytes.h"
#include "host_platform.h"
#include "platform/astring.h"
#include "platform/environment.h"
#include "platform/text.h"

std::map<std::string, std::string> hostEnvironment;

namespace orv {

void* memAlloc(unsigned size) { return std::malloc(size ? size : 1); }
void memFree(void* block) { std::free(block); }

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

AString environmentValue(const AString& name) {
  auto it = hostEnvironment.find(name.c_str());
  AString value;
  if (it != hostEnvironment.end()) value.append(viewOf(it->second));
  return value;
}

}  // namespace orv
