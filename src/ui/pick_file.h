#pragma once

#include "platform/astring.h"
#include "platform/win.h"

namespace orv {

// Shows the system's Open dialog. Non-zero when the user chose a file; then
// fileName holds its full path. flags come back as the dialog left them.
int pickFile(HWND owner, ByteView title, AString& fileName, ByteView initialDir, ByteView filter,
             ByteView defaultExt, DWORD& flags);

}  // namespace orv
