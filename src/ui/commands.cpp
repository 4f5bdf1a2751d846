#include "launch/launcher.h"
#include "platform/message.h"
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

void runCommand() {
  AString name;
  DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (pickFile(nullptr, "Run...", name, ByteView(), ByteView::ofCString(RUN_FILTER), ByteView(),
               flags))
    launchProgram(name);
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
      runCommand();
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
