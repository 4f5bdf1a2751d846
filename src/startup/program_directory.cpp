#include "startup/program_directory.h"

#include "platform/module_path.h"
#include "platform/process_state.h"
#include "platform/text.h"

namespace orv {

ByteView programDirectory() {
  AString& cached = processState().programDirectory;
  if (!cached.empty()) return cached;
  AString path = modulePath();
  int slash = findLastSeparator(path);
  cached.assign(path.view().mid(0, slash < 0 ? 0 : static_cast<unsigned>(slash)));
  if (cached.failed()) cached = AString();
  return cached;
}

}  // namespace orv
