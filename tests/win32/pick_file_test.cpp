#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../bytes.h"
#include "fake_system.h"
#include "platform/directory_listing.h"
#include "test_util.h"
#include "ui/command_handler.h"
#include "ui/control_dialog.h"
#include "ui/pick_file.h"

using namespace testutil;

namespace {

std::string bytes(const char* p, size_t n) { return std::string(p, n); }

// Boxes opened from the picker, each in front of the one before; in front of
// the last the control dialog ends. Their answers, the first box's first.
std::vector<UINT> boxStyles;
std::vector<int> boxAnswers;
HWND endingDialog;
size_t boxesOpen;

void openBoxes();
void CALLBACK openNextBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  openBoxes();
}

void openBoxes() {
  size_t level = boxesOpen++;
  if (level == boxStyles.size()) {
    DestroyWindow(endingDialog);
    orv::controlDialogHandler(endingDialog, WM_DESTROY, 0, 0);
    return;
  }
  SetTimer(nullptr, 0, 10, openNextBox);  // runs in this box's loop
  boxAnswers[level] = MessageBoxA(nullptr, "?", "Run...", boxStyles[level]);
}

TEST(PickFile, RecordAndReadBack) {
  InTempDir dir;
  struct {
    const char* name;
    BOOL result;
    const char* chosen;  // written over the buffer's start by the "dialog"
    const char* fileName;
  } cases[] = {
      {"chosen", TRUE, "C:\\Apps\\tool.exe", "C:\\Apps\\tool.exe"},
      {"cancelled", FALSE, nullptr, ""},
  };
  for (auto& c : cases) {
    fake::reset();
    OPENFILENAMEA seen = {};
    std::string filter, initialDir, title, head;
    fake::script.openFileDialog = [&](OPENFILENAMEA* r) {
      seen = *r;
      const char* f = r->lpstrFilter;
      while (*f) f += strlen(f) + 1;
      filter = bytes(r->lpstrFilter, f - r->lpstrFilter + 1);
      initialDir = r->lpstrInitialDir;
      title = r->lpstrTitle;
      head = bytes(r->lpstrFile, 2);
      EXPECT_EQ(bytes(r->lpstrFile + 1, 8191), std::string(8191, ' '));
      if (c.chosen) strcpy(r->lpstrFile, c.chosen);
      r->Flags |= OFN_PATHMUSTEXIST;
      return c.result;
    };
    orv::AString name;
    DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    int result = orv::pickFile(nullptr, "Run...", name, orv::ByteView(),
                               orv::ByteView::ofCString(orv::RUN_FILTER), orv::ByteView(), flags);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(str(name), c.fileName) << c.name;
    EXPECT_EQ(flags, 0x1804u) << c.name;
    EXPECT_EQ(seen.lStructSize, sizeof(void*) == 4 ? 76u : 136u);  // the 95 / NT 4.0 layout
    EXPECT_EQ(seen.hwndOwner, nullptr);
    EXPECT_EQ(seen.hInstance, nullptr);
    EXPECT_EQ(seen.lpstrCustomFilter, nullptr);
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(seen.nMaxFile, 8192u);
    EXPECT_EQ(seen.nMaxFileTitle, 260u);
    EXPECT_EQ(seen.Flags & ~OFN_PATHMUSTEXIST, 0x1004u);
    EXPECT_EQ(seen.lpstrDefExt, nullptr);
    EXPECT_EQ(seen.lpfnHook, nullptr);
    EXPECT_EQ(head, std::string("\0 ", 2));
    EXPECT_EQ(title, "Run...");
    EXPECT_EQ(initialDir, dir.path());
    static const char kFilter[] =
        "Programs\0*.com;*.eXe\0Batch files\0*.bat;*.cmd\0Scripts\0*.js*;*.vb*\0"
        "Control panel applets\0*.cpl\0"
        "Common document formats\0*.doc;*.htm*;*.pdf;*.rtf;*.tXt;*.Xls\0"
        "Common image formats\0*.bmp;*.gif;*.jp*;*.png\0All Files\0*.*\0";
    EXPECT_EQ(filter, bytes(kFilter, sizeof kFilter));
  }
}

// The current directory is out of the DLL search only while the Open dialog
// is up, and the default is back before anything starts; the shell works
// from the system folder, what it starts in its file's folder. Run while the
// picker is up opens no second one. A dialog that ends while the picker is up
// opens nothing. A look-alike name ("Ādobe.lnk" as "Adobe.lnk") opens its own
// file by its short name, or nothing where another file lists as it too.
TEST(PickFile, RunCommandCallSequences) {
  InTempDir dir;
  TempDir alone;
  makeWideFile(dir.path(), L"\u0100dobe.lnk");
  std::string shortName = makeWideFile(alone.path(), L"\u0100dobe.lnk");
  writeFile(dir / "Adobe.lnk");
  // Names that end in a blank, which the system keeps on a folder on the
  // way and cuts off the last name; beside "cut", which that would reach.
  CreateDirectoryA((dir / "blank \\").c_str(), nullptr);
  writeFile(dir / "blank \\x.exe");
  writeFile(dir / "cut");
  std::string cutShort = makeWideFile(dir.path(), L"cut ");
  const std::vector<std::string> picked = {"SetDllDirectoryA []", "GetOpenFileNameA",
                                           "SetDllDirectoryA null"};
  auto launched = [&](const std::string& file) {
    std::vector<std::string> calls = picked;
    calls.insert(calls.end(), {"SetDllDirectoryA null",
                               fake::shellCall(file, file.substr(0, file.rfind('\\') + 1))});
    return calls;
  };
  struct {
    const char* name;
    std::string chosen;  // empty: cancelled
    int runClicksMeanwhile;
    std::vector<std::string> calls;
    bool dialogEnds = false;
    std::vector<UINT> boxes = {};  // opened in front of the picker before the dialog ends
    std::vector<int> answers = {};
  } cases[] = {
      {"cancelled", "", 0, picked},
      {"chosen", "C:\\x.exe", 0, launched("C:\\x.exe")},
      {"Run clicked while picking", "C:\\x.exe", 10, launched("C:\\x.exe")},
      {"dialog ends while picking", "C:\\x.exe", 0, picked, true},
      {"dialog ends in front of boxes: Cancel, else No, else OK",
       "C:\\x.exe",
       0,
       picked,
       false,
       {MB_OK, MB_YESNO, MB_YESNOCANCEL, MB_YESNO | MB_TASKMODAL},
       {IDOK, IDNO, IDCANCEL, IDNO}},
      {"look-alike of another file", dir / "Adobe.lnk", 0, picked},
      {"look-alike alone", alone / "Adobe.lnk", 0, launched(alone / shortName)},
      {"a folder's blank kept", dir / "blank \\x.exe", 0, launched(dir / "blank \\x.exe")},
      {"a last name's blank cut: by its 8.3 name", dir / "cut ", 0, launched(dir / cutShort)},
  };
  for (auto& c : cases) {
    fake::reset();
    HWND dialog = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    boxStyles = c.boxes, boxAnswers.assign(c.boxes.size(), 0), endingDialog = dialog, boxesOpen = 0;
    fake::script.openFileDialog = [&](OPENFILENAMEA* r) {
      for (int i = 0; i < c.runClicksMeanwhile; ++i)
        orv::controlDialogHandler(dialog, WM_COMMAND, orv::IDC_RUN, 0);
      if (c.dialogEnds) DestroyWindow(dialog);
      if (!c.boxes.empty()) openBoxes();
      strcpy(r->lpstrFile, c.chosen.c_str());
      return c.chosen.empty() ? FALSE : TRUE;
    };
    orv::controlDialogHandler(dialog, WM_COMMAND, orv::IDC_RUN, 0);
    EXPECT_EQ(fake::calls, c.calls) << c.name;
    EXPECT_EQ(boxAnswers, c.answers) << c.name;
    DestroyWindow(dialog);
  }
  // A folder on the way whose entries come and go meanwhile: its write time
  // moves between the listing and the look-up, and it is still the folder.
  std::atomic<bool> done = false;
  std::thread churn([&] {
    for (std::string file = dir / "blank \\t"; !done; DeleteFileA(file.c_str())) writeFile(file);
  });
  for (int i = 0; i < 100; ++i) {
    orv::AString path(orv::ByteView::ofCString((dir / "blank \\x.exe").c_str()));
    EXPECT_EQ(orv::makeReachOwnFile(path), 0) << i;
  }
  done = true;
  churn.join();
  auto log = logMessages(dir / "Orvalix.log");  // chosen, Run clicked, refused, alone
  EXPECT_EQ(log.size() > 2 ? log[2] : "", "launchProgram: Error #64 running " + dir / "Adobe.lnk");
}

TEST(PickFile, EmptyTitleAndGivenDirectoryAndExtension) {
  fake::reset();
  OPENFILENAMEA seen = {};
  std::string dir, ext;
  fake::script.openFileDialog = [&](OPENFILENAMEA* r) {
    seen = *r;
    dir = r->lpstrInitialDir;
    ext = r->lpstrDefExt;
    return FALSE;
  };
  orv::AString name("start.txt");
  DWORD flags = 0;
  orv::pickFile(nullptr, orv::ByteView(), name, "C:\\Data", "T|*.t", "txt", flags);
  EXPECT_EQ(seen.lpstrTitle, nullptr);
  EXPECT_EQ(dir, "C:\\Data");
  EXPECT_EQ(ext, "txt");
  EXPECT_STREQ(name.c_str(), "start.txt");  // cancelled: the initial name again
}

}  // namespace
