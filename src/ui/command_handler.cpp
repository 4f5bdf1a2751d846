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

// The answer that closes a dialog without doing what it asks: Cancel, else
// No (a Yes/No box has no Cancel and takes none), else OK; never Yes. None
// of them (Abort, Retry, Ignore): what closing it from its frame does.
void answerToClose(HWND dialog) {
  constexpr WORD kClosingAnswers[] = {IDCANCEL, IDNO, IDOK};
  for (WORD id : kClosingAnswers) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) continue;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return;
  }
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

BOOL CALLBACK answerIfOurs(HWND w, LPARAM endingDialog) {
  DWORD process = 0;
  char type[8];
  GetWindowThreadProcessId(w, &process);
  if (w != reinterpret_cast<HWND>(endingDialog) && process == GetCurrentProcessId() &&
      GetClassNameA(w, type, sizeof type) && ByteView::ofCString(type) == "#32770")
    answerToClose(w);
  return TRUE;
}

// The dialog ends (Exit, an accepted request, Close): every other dialog of
// ours is answered so that it closes, so that the process ends. The picker
// runs its own modal loops, and so do the boxes that it, its file list's
// menus or a box opened: each waits in its caller until it is answered, the
// innermost first, whichever of them has been in front.
void onDestroy(HWND dialog) { EnumWindows(answerIfOurs, reinterpret_cast<LPARAM>(dialog)); }

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
