#include "ui/control_dialog.h"

#include "platform/process_state.h"
#include "ui/command_handler.h"
#include "ui/dialog_template.h"

namespace orv {

namespace {

struct ButtonRow {
  WORD id;
  const char* text;
  short x, y;
  DWORD style;
};

constexpr DWORD kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefault = kPush | BS_CENTER | BS_VCENTER | BS_DEFPUSHBUTTON;
constexpr short kButtonWidth = 50, kButtonHeight = 15;

// Creation order is the tab order.
// clang-format off
constexpr ButtonRow kButtons[] = {
    {IDC_RUN, "Run", 65, 5, kDefault},
    {IDC_EXIT, "Exit", 5, 5, kPush},
    {IDC_LOGOFF, "Logoff", 5, 30, kPush},
    {IDC_SHUTDOWN, "Shutdown", 5, 45, kPush},
    {IDC_RESTART, "Restart", 5, 60, kPush},
    {IDC_STANDBY, "Standby", 5, 75, kPush},
};

constexpr DialogLayout kLayout = {
    WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_MINIMIZEBOX | DS_ABSALIGN | DS_3DLOOK |
        DS_NOFAILCREATE | DS_SETFONT | DS_MODALFRAME | DS_SETFOREGROUND | DS_CENTER |
        DS_CENTERMOUSE,
    WS_EX_APPWINDOW, 70, 70, 117, 92, "Orvalix", 8, "MS Sans Serif"};
// clang-format on
static_assert(kLayout.style == 0x84C21AD5);

// The one control dialog of the process.
struct {
  HFONT font;
  bool modal;  // the handler sees messages only once the modal run began
  int endValue;
} controlDialog;

void addButton(HWND parent, const ButtonRow& button) {
  RECT r = {button.x, button.y, button.x + kButtonWidth, button.y + kButtonHeight};
  MapDialogRect(parent, &r);
  HWND h = CreateWindowExA(
      0, "BUTTON", button.text, button.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
      parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(button.id)), moduleInstance, nullptr);
  if (h) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(controlDialog.font), TRUE);
  if ((button.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
    SendMessageA(parent, DM_SETDEFID, button.id, 0);
}

INT_PTR CALLBACK dialogProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  // Answered here so the platform neither saves nor restores the focus: the
  // handler does that itself through WM_NCACTIVATE.
  if (message == WM_ACTIVATE) return TRUE;
  if (!controlDialog.modal) return FALSE;
  if (controlDialogHandler(w, message, wParam, lParam) == 0 && message == WM_SYSCOMMAND &&
      LOWORD(wParam) == SC_CLOSE) {
    endControlDialog(w, 0);
    return TRUE;
  }
  return FALSE;
}

void dispatch(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

int runModal(HWND w) {
  // The dialog procedure forwarded nothing while the dialog was made (the
  // buttons did not exist yet): the handler hears of its start and size here,
  // once they do, and before anything is visible.
  controlDialogHandler(w, WM_INITDIALOG, reinterpret_cast<WPARAM>(w), 0);
  RECT client;
  GetClientRect(w, &client);
  controlDialogHandler(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  controlDialog.modal = true;
  ShowWindow(w, SW_SHOW);

  // Polling rather than blocking in GetMessage: the loop ends only when the
  // window is gone, whatever destroyed it; WM_QUIT ends nothing.
  MSG message;
  while (IsWindow(w)) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(1);
      continue;
    }
    if (!IsWindow(w) || !IsDialogMessageA(w, &message)) dispatch(message);
  }
  controlDialog.modal = false;
  return controlDialog.endValue;
}

}  // namespace

int showControlDialog(HWND owner) {
  AString bytes;
  buildDialogTemplate(bytes, kLayout);
  if (bytes.failed()) return 0;
  controlDialog.endValue = 0;
  HWND w = CreateDialogIndirectParamA(
      moduleInstance, reinterpret_cast<LPCDLGTEMPLATEA>(bytes.c_str()), owner, dialogProc, 0);
  if (!w) return 0;
  controlDialog.font = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
  addButton(w, kButtons[0]);
  // Run is the default whatever the table's styles say; adding a button of
  // BS_DEFPUSHBUTTON style already said so once.
  SendMessageA(w, DM_SETDEFID, IDC_RUN, 0);
  for (unsigned i = 1; i < sizeof kButtons / sizeof kButtons[0]; ++i) addButton(w, kButtons[i]);
  return runModal(w);
}

void endControlDialog(HWND w, int endValue) {
  // The dialog hears that it closes, as a window closed by the user would,
  // before it is destroyed; the loop then sees it gone.
  SendMessageA(w, WM_CLOSE, 0, 0);
  controlDialog.endValue = endValue;
  DestroyWindow(w);
}

}  // namespace orv
