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

// Whether the last line was dropped. A holder that outlasted one bounded
// wait (an editor, a backup) usually outlasts the next few too: the Startup
// run logs a line per shortcut, and waiting for each would hold the window
// back ~100 ms per shortcut. So after a drop each line tries once, until a
// line gets through and the next holder is again worth a wait.
bool lastLineDropped = false;

HANDLE openLog() {
  for (int attempt = lastLineDropped ? kOpenAttempts : 1;; ++attempt) {
    // Readers may share the file; other writers stay out. Not inheritable: a
    // program that the shell starts meanwhile would hold the log.
    HANDLE h = openFile("Orvalix.log", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL);
    DWORD error = GetLastError();
    if (h != INVALID_HANDLE_VALUE || error != ERROR_SHARING_VIOLATION || attempt == kOpenAttempts)
      return h;
    Sleep(kRetryPauseMs);
  }
}

// Moves `distance` bytes (from a 64-bit position: `high` in and out) from
// `method`. Past 4 GiB the low part of a good position can equal
// INVALID_SET_FILE_POINTER, so only that value with an error set is a failure.
bool seek(HANDLE file, LONG distance, LONG* high, DWORD method, DWORD* low = nullptr) {
  QuietErrors quiet;
  DWORD position = SetFilePointer(file, distance, high, method);
  if (low) *low = position;
  return position != INVALID_SET_FILE_POINTER || QuietErrors::error() == NO_ERROR;
}

// Leaves the file at its end; *cut says whether its last record lacks its
// CR LF (a disk that filled up mid-line): the next record must not be glued
// to it.
bool toEnd(HANDLE file, bool* cut) {
  LONG high = 0;
  DWORD low;
  // Writing at a position we did not reach would overwrite older lines.
  if (!seek(file, 0, &high, FILE_END, &low)) return false;
  *cut = low == 1 && !high;
  if (low < 2 && !high) return true;
  LONG back = -1;  // the high part of -2
  char tail[2];
  DWORD read = 0;
  QuietErrors quiet;
  if (!seek(file, -2, &back, FILE_END) || !ReadFile(file, tail, 2, &read, nullptr) || read != 2)
    return false;
  *cut = tail[0] != '\r' || tail[1] != '\n';
  return true;
}

bool writeRecord(const AString& record) {
  ScopedFile file(openLog());
  bool cut;
  if (!file || !toEnd(file.get(), &cut)) return false;
  // The whole record in one write, so that a failure cannot split it from
  // its line end.
  ByteView bytes = record.view().mid(cut ? 0 : 2);
  QuietErrors quiet;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.ptr, bytes.size, &written, nullptr) && written == bytes.size;
}

}  // namespace

void logEvent(ByteView message, ByteView source) {
  SYSTEMTIME st;
  sys::getLocalTime(&st);
  AString record("\r\n");  // this first line end only after a cut record
  buildLogLine(record, {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}, source,
               message);
  record.append("\r\n");
  lastLineDropped = record.failed() || !writeRecord(record);
}

}  // namespace orv
