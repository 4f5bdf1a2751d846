/* The reference programs for make bench, built like Orvalix (no runtime, the
   same architecture flags): a dialog from an in-memory template with one
   button, after initialising COM as Orvalix must before anything else (the
   shell's calls need it), so that the start figures compare like with like.
   REF_POLL picks the message loop: PeekMessage + Sleep(1) as Orvalix polls,
   otherwise a plain GetMessage loop. REF_AS_ORVALIX starts as Orvalix does:
   its manifest is linked in (reference.rc) and the process declares itself
   DPI-aware and loads Common Controls 6 before anything else, so that the
   visual styles' cost is on both sides; without it the program is bare, to
   show what that cost is. */
#include <objbase.h>
#include <windows.h>

static INT_PTR CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  (void)lp;
  if (m == WM_COMMAND && LOWORD(wp) == 1) DestroyWindow(w);
  if (m == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE) DestroyWindow(w);
  return FALSE;
}

#ifdef REF_AS_ORVALIX
/* Looked up, not imported, as Orvalix does: the same DLLs are loaded, and the
   lookups cost the same. */
static FARPROC lookUp(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  return module ? GetProcAddress(module, name) : NULL;
}

static void setDllDirectory(const char* path) {
  typedef BOOL(WINAPI * Fn)(const char*);
  Fn set = (Fn)(void (*)(void))lookUp("kernel32.dll", "SetDllDirectoryA");
  if (set) set(path);
}

static void startAsOrvalix(void) {
  typedef BOOL(WINAPI * Fn)(void);
  Fn dpiAware = (Fn)(void (*)(void))lookUp("user32.dll", "SetProcessDPIAware");
  if (dpiAware) dpiAware();
  if (!lookUp("kernel32.dll", "ActivateActCtx")) return;
  setDllDirectory("");
  LoadLibraryA("comctl32.dll");
  setDllDirectory(NULL);
}
#endif

void entry(void) {
  static const WORD tmpl[] = {0x1AD5, 0x84C2, 0,   0,   0,   70,  70,  117, 92,  0,
                              0,      'R',    'e', 'f', 0,   8,   'M', 'S', ' ', 'S',
                              'a',    'n',    's', ' ', 'S', 'e', 'r', 'i', 'f', 0};
#ifdef REF_AS_ORVALIX
  startAsOrvalix();
#endif
  HINSTANCE self = GetModuleHandleA(NULL);
  CoInitialize(NULL);
  HWND w = CreateDialogIndirectParamA(self, (LPCDLGTEMPLATEA)tmpl, NULL, proc, 0);
  MSG msg;
  if (!w) ExitProcess(1);
  CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 10,
                  80, 24, w, (HMENU)1, self, NULL);
  ShowWindow(w, SW_SHOW);
#ifdef REF_POLL
  while (IsWindow(w)) {
    if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      Sleep(1);
      continue;
    }
    if (!IsDialogMessageA(w, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
#else
  while (IsWindow(w) && GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (!IsDialogMessageA(w, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
#endif
  ExitProcess(0);
}
