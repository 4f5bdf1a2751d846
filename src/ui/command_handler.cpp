#include "ui/command_handler.h"

#include "launch/launcher.h"
#include "platform/directory_listing.h"
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
// IDC_EXIT as one byte. textOf() takes a caption for a row of its own (its
// first letter as the number): no caption may begin with a byte from 1 to 4.
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

// The picker is the Open dialog titled "Run..." of the control dialog's
// thread, which has no owner. The boxes it owns may carry its title too (the
// system may name them after it), and an owned window stands above its owner
// in the search: from whichever is found, its owners lead to the picker. Its
// last active popup is what stands in front of it (its "file not found" box).
HWND picker(HWND dialog) {
  DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", "Run...")) != nullptr;) {
    if (GetWindowThreadProcessId(w, nullptr) != thread) continue;
    while (HWND owner = GetWindow(w, GW_OWNER)) w = owner;
    return w;
  }
  return nullptr;
}

void runCommand(HWND dialog) {
  if (picking) {
    if (HWND w = picker(dialog)) SetForegroundWindow(GetLastActivePopup(w));
    return;
  }
  AString name;
  DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  picking = true;
  int chosen = pickFile(nullptr, "Run...", name, ByteView(), ByteView::ofCString(RUN_FILTER),
                        ByteView(), flags);
  picking = false;
  // A dialog that ended meanwhile (Exit, an accepted log off) acts no more.
  if (!chosen || !IsWindow(dialog)) return;
  if (int refused = makeReachOwnFile(name))
    refuseLaunch(name, refused);
  else
    launchProgram(name, StartIn::filesFolder);
}

// The dialog ends (Exit, an accepted request, Close): a picker that is up is
// cancelled, with whatever box it has in front, so that the process ends.
void onDestroy(HWND dialog) {
  HWND w = picking ? picker(dialog) : nullptr;
  if (!w) return;
  PostMessageA(GetLastActivePopup(w), WM_COMMAND, IDCANCEL, 0);
  PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
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
    case WM_DESTROY:
      onDestroy(dialog);
      break;
  }
  return 0;
}

}  // namespace orv
