#include "ui/command_handler.h"

#include "launch/launcher.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "session/session.h"
#include "ui/control_dialog.h"
#include "ui/pick_file.h"

#include <commdlg.h>

namespace orv {

HWND savedFocus;

extern const char RUN_FILTER[] =
    "Programs|*.com;*.eXe|Batch files|*.bat;*.cmd|Scripts|*.js*;*.vb*|"
    "Control panel applets|*.cpl|"
    "Common document formats|*.doc;*.htm*;*.pdf;*.rtf;*.tXt;*.Xls|"
    "Common image formats|*.bmp;*.gif;*.jp*;*.png|All Files|*.*";

namespace {

constexpr UINT kQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL;

// Each button's question, then the box's caption, after the button's id less
// IDC_EXIT as one byte (packed as textOf() reads them).
// clang-format off
constexpr char kQuestions[] =
    "\x01" "Logoff?\0" "Logoff?\0"
    "\x02" "Shut the computer down?\0" "Shutdown?\0"
    "\x03" "Restart the computer?\0" "Restart?\0"
    "\x04" "Go to standby?\0" "Standby?\0";
// clang-format on

// Logoff, Shutdown and Restart ask their question and make their request
// (flags 0, 1, 2 in button order); Standby asks and suspends.
void askAndRequest(HWND dialog, WORD id) {
  ByteView text = textOf(kQuestions, id - IDC_EXIT);
  if (showMessage(text.ptr, kQuestionStyle, text.ptr + text.size + 1) != IDYES) return;
  if (id == IDC_STANDBY)
    goToStandby();
  else if (exitWindows(id - IDC_LOGOFF))
    endControlDialog(dialog, 0);
}

// The picker has no owner, so the dialog stays usable while it is up. A
// second picker would run nested inside the first, and every click would
// pile up another (Wine faults about 30 deep): Run raises the one that is up.
bool picking;

BOOL CALLBACK raisePicker(HWND w, LPARAM dialog) {
  // The thread's other visible top-level window without an owner is the
  // picker: its own boxes are owned by it and come along.
  if (w == reinterpret_cast<HWND>(dialog) || !IsWindowVisible(w) || GetWindow(w, GW_OWNER))
    return TRUE;
  SetForegroundWindow(w);
  return FALSE;
}

void runCommand(HWND dialog) {
  if (picking) {
    EnumThreadWindows(GetCurrentThreadId(), raisePicker, reinterpret_cast<LPARAM>(dialog));
    return;
  }
  AString name;
  DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  picking = true;
  int chosen = pickFile(nullptr, "Run...", name, ByteView(), ByteView::ofCString(RUN_FILTER),
                        ByteView(), flags);
  picking = false;
  if (chosen) launchProgram(name);
}

// The platform does not keep the focus across deactivation (the dialog
// answers WM_ACTIVATE itself), so the focused control is remembered here.
void onNcActivate(WPARAM active) {
  if (!active) {
    savedFocus = GetFocus();
  } else if (savedFocus) {
    SetFocus(savedFocus);
    savedFocus = nullptr;
  }
}

void onCommand(HWND dialog, WORD id, WORD code) {
  if (code > 1) return;  // only clicks and accelerators
  if (id == IDC_EXIT)
    endControlDialog(dialog, 0);
  else if (id == IDC_RUN)
    runCommand(dialog);
  else if (id >= IDC_LOGOFF && id <= IDC_STANDBY)
    askAndRequest(dialog, id);
}

}  // namespace

int controlDialogHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_NCACTIVATE:
      onNcActivate(wParam);
      break;
    case WM_COMMAND:
      onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      break;
  }
  return 0;
}

}  // namespace orv
