#include "driver.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <algorithm>

namespace e2e {

Install::Install(const char* exeName) : exeName_(exeName) {
  testutil::forgetLogonRuns();
  EXPECT_TRUE(CopyFileA(ORVALIX_EXE, exe().c_str(), FALSE)) << ORVALIX_EXE;
}

ReadyEvents::ReadyEvents()
    : events_{CreateEventA(nullptr, TRUE, FALSE, "ShellDesktopSwitchEvent"),
              CreateEventA(nullptr, TRUE, FALSE, "msgina: ShellReadyEvent")} {}

ReadyEvents::~ReadyEvents() {
  for (HANDLE e : events_) CloseHandle(e);
}

bool ReadyEvents::set() const {
  return WaitForMultipleObjects(2, events_, TRUE, 0) == WAIT_OBJECT_0;
}

Process::Process(const std::string& exe, const std::string& arguments, const std::string& cwd,
                 const char* desktop, HANDLE output) {
  std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA si = {sizeof si};
  si.lpDesktop = const_cast<char*>(desktop);
  if (output) si.dwFlags = STARTF_USESTDHANDLES, si.hStdOutput = output;
  EXPECT_TRUE(CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, output != nullptr, 0,
                             nullptr, cwd.c_str(), &si, &info_))
      << exe;
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::waitExit(DWORD ms) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0)
    return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::string windowText(HWND w) {
  char buf[1024] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

std::string className(HWND w) {
  char buf[256] = "";
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

HWND waitWindow(DWORD processId, const char* cls, const char* caption, DWORD ms) {
  HWND found = nullptr;
  waitFor(
      [&] {
        for (HWND w : testutil::topWindows(processId))
          if (className(w) == cls && windowText(w) == caption) found = w;
        return found != nullptr;
      },
      ms);
  return found;
}

bool waitGone(HWND w, DWORD ms) {
  return waitFor([&] { return !IsWindow(w); }, ms);
}

void click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

std::string boxText(HWND box) {
  char buf[1024] = "";
  GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
  return buf;
}

void makeShortcut(const std::string& lnk, const std::string& target, const std::string& args,
                  const std::string& startIn) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  link->SetPath(target.c_str());
  link->SetArguments(args.c_str());
  link->SetWorkingDirectory(startIn.c_str());
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  wchar_t wide[MAX_PATH * 2];
  MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH * 2);
  EXPECT_EQ(file->Save(wide, TRUE), S_OK) << lnk;
  file->Release();
  link->Release();
}

size_t completeLines(const std::string& path) {
  std::string data = testutil::readFile(path);
  size_t n = 0;
  for (size_t at = data.find("\r\n"); at != std::string::npos; at = data.find("\r\n", at + 2)) ++n;
  return n;
}

std::vector<std::string> startedArgs(const std::string& markerFile) {
  std::vector<std::string> args;
  for (auto& line : testutil::lines(markerFile)) args.push_back(line.substr(line.rfind(' ') + 1));
  std::sort(args.begin(), args.end());
  return args;
}

std::vector<std::string> startedWhere(const std::string& markerFile) {
  std::vector<std::string> args;
  for (auto& line : testutil::lines(markerFile)) {
    std::string command = line.substr(line.find('>') + 1);
    args.push_back(command.substr(command.rfind(' ') + 1) + " in " +
                   line.substr(0, line.find('>')));
  }
  std::sort(args.begin(), args.end());
  return args;
}

HWND focusOf(HWND w) {
  GUITHREADINFO info = {sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info);
  return info.hwndFocus;
}

}  // namespace e2e
