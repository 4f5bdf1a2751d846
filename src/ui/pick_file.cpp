#include "ui/pick_file.h"

#include "platform/fs.h"
#include "platform/system.h"
#include "ui/open_dialog_buffers.h"

namespace orv {

int pickFile(HWND owner, ByteView title, AString& fileName, ByteView initialDir, ByteView filter,
             ByteView defaultExt, DWORD& flags) {
  AString filterList, nameBuffer, directory(initialDir), titleText(title), extension(defaultExt);
  AString fileTitle;
  convertFilter(filterList, filter);
  if (initialDir.empty()) directory = fullPath(".");
  fillNameBuffer(nameBuffer, fileName);
  fileTitle.resize(MAX_PATH, 0);
  if (filterList.failed() || nameBuffer.failed() || directory.failed() || titleText.failed() ||
      extension.failed() || fileTitle.failed())
    return 0;

  OPENFILENAMEA record = {};
  // The Windows 95 / NT 4.0 layout (76 bytes; 136 with 64-bit pointers),
  // which every later system takes.
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.hwndOwner = owner;
  record.lpstrFilter = filterList.c_str();
  record.nFilterIndex = 1;
  record.lpstrFile = nameBuffer.data();
  record.nMaxFile = kNameBufferSize;
  record.lpstrFileTitle = fileTitle.data();
  record.nMaxFileTitle = MAX_PATH;
  record.lpstrInitialDir = directory.c_str();
  record.lpstrTitle = title.empty() ? nullptr : titleText.c_str();
  record.Flags = flags;
  record.lpstrDefExt = defaultExt.empty() ? nullptr : extension.c_str();
  // The dialog loads shell extensions while the current directory follows
  // the user through folders: none of their DLLs may come from there.
  sys::setDllDirectory("");
  int result = sys::getOpenFileName(&record);
  sys::setDllDirectory(nullptr);

  fileName.assign(readBackName(nameBuffer));
  flags = record.Flags;
  return result;
}

}  // namespace orv
