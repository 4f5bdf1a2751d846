#pragma once

// The recording stand-in for the calls that leave the process or wait for a
// person. Each call is written to `calls` as one line; answers are scripted.
// Calls that only ask the system (version, token, clock) go to the real
// system unless a test scripts them.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/win.h"

#include <commdlg.h>

namespace fake {

struct Script {
  std::vector<int> messageBoxAnswers;  // taken in order; IDOK when used up
  int shellResult = 42;
  BOOL exitResult = TRUE;
  DWORD exitLastError = 0;  // left by a refused ExitWindowsEx
  bool powerFunctionMissing = false;
  BOOL powerResult = TRUE;
  DWORD powerLastError = 0;
  // Token calls: -1 = the real call; 0/1 = scripted result.
  int openToken = -1, lookup = -1, adjust = -1;
  DWORD adjustLastError = 0;
  int tokenInformation = 1;  // as openToken; 1 answers logonId
  LUID logonId = {0x1A2B3, 0};
  bool elevated = false;  // a full token of its own log-on, linked to logonId's

  std::set<std::string> events;                   // the named events that exist
  LONG registryError = 0;                         // every key fails so; 0 = the test's registry
  std::vector<std::string> registryWritesDenied;  // keys, by part of their names
  std::string failWritesOf;                       // values that hold this fail to be written
  int cleanBoot = 0;                              // GetSystemMetrics(SM_CLEANBOOT)
  bool shiftDown = false;
  bool windowStationVisible = true;
  std::vector<DWORD> inputDesktopErrors;     // in turn, the last one from then on; none: it opens
  bool allocationsFail = false;              // memAlloc answers null
  DWORD platformId = 0xFFFFFFFF;             // 0xFFFFFFFF = the real GetVersionExA
  DWORD majorVersion = 6, minorVersion = 1;  // with a scripted platformId
  USHORT nativeMachine = 0;                  // what IsWow64Process2 answers; 0: it is missing
  int wow64 = -1;                            // what IsWow64Process answers; -1: it is missing
  bool fixedTime = false;
  SYSTEMTIME time = {};
  std::function<BOOL(OPENFILENAMEA*)> openFileDialog;  // null = cancel
  std::function<void(const std::string&)> onCall;      // runs after each record
};

extern Script script;
extern std::vector<std::string> calls;

void reset();

// ShellExecuteA as recorded when it ran in that folder (the system folder by default).
std::string shellCall(const std::string& file, const std::string& directory,
                      const std::string& during = "system");

}  // namespace fake
