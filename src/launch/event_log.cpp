#include "launch/event_log.h"

#include "launch/log_line.h"
#include "platform/fs.h"
#include "platform/scoped.h"
#include "platform/system.h"

namespace orv {

namespace {

// A reader that holds the log without allowing writers (a viewer that opens
// it plainly, a copy in progress) usually lets go within milliseconds; a line
// is worth a short wait before it is dropped.
constexpr int kOpenAttempts = 6;
constexpr DWORD kRetryPauseMs = 20;

HANDLE openLog() {
  SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  for (int attempt = 1;; ++attempt) {
    HANDLE h;
    DWORD error;
    {
      QuietErrors quiet;
      // Readers may share the file; other writers stay out.
      h = CreateFileA("Orvalix.log", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      error = QuietErrors::error();
    }
    if (h != INVALID_HANDLE_VALUE || error != ERROR_SHARING_VIOLATION || attempt == kOpenAttempts)
      return h;
    Sleep(kRetryPauseMs);
  }
}

bool writeAll(HANDLE file, ByteView bytes) {
  QuietErrors quiet;
  DWORD written = 0;
  return WriteFile(file, bytes.ptr, bytes.size, &written, nullptr) && written == bytes.size;
}

}  // namespace

void logEvent(ByteView message, ByteView source) {
  SYSTEMTIME st;
  sys::getLocalTime(&st);
  AString line;
  buildLogLine(line, {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}, source,
               message);
  if (line.failed()) return;

  ScopedFile file(openLog());
  if (!file) return;
  {
    QuietErrors quiet;
    // Writing at a position we did not reach would overwrite older lines.
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        QuietErrors::error() != NO_ERROR)
      return;
  }
  if (writeAll(file.get(), line)) writeAll(file.get(), "\r\n");
}

}  // namespace orv
