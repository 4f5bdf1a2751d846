#include "ui/command_handler.h"

#include "launch/launcher.h"
#include "platform/message_box.h"
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

bool confirmed(const char* text, const char* caption) {
  return showMessage(text, kQuestionStyle, caption) == IDYES;
}

void requestExit(HWND dialog, int flags, const char* text, const char* caption) {
  if (confirmed(text, caption) && exitWindows(flags)) endControlDialog(dialog, 0);
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
  switch (id) {
    case IDC_EXIT:
      endControlDialog(dialog, 0);
      break;
    case IDC_LOGOFF:
      requestExit(dialog, EWX_LOGOFF, "Logoff?", "Logoff?");
      break;
    case IDC_SHUTDOWN:
      requestExit(dialog, EWX_SHUTDOWN, "Shut the computer down?", "Shutdown?");
      break;
    case IDC_RESTART:
      requestExit(dialog, EWX_REBOOT, "Restart the computer?", "Restart?");
      break;
    case IDC_STANDBY:
      if (confirmed("Go to standby?", "Standby?")) goToStandby();
      break;
    case IDC_RUN:
      runCommand(dialog);
      break;
  }
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
