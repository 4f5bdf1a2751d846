#pragma once

// Real folders and files for the Win32 tests: a fresh temporary folder per
// test, removed with everything in it afterwards.
#include <string>
#include <vector>

#include "platform/win.h"

namespace testutil {

std::string currentDir();

// Byte for byte, for the ASCII paths and 8.3 names that the tests widen.
inline std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
inline std::string narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// The process's visible top-level windows.
std::vector<HWND> topWindows(DWORD processId);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void removeTree(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes = "");
// An empty file (or a folder) made by a wide name, which the ANSI code page
// may lack; its 8.3 name.
std::string makeWideFile(const std::string& folder, const std::wstring& name,
                         bool asFolder = false);
std::string readFile(const std::string& path);  // empty when missing
bool exists(const std::string& path);

// A file's lines, split at CR LF (a last line without one counts too).
std::vector<std::string> lines(const std::string& path);

// The log's lines with the "MM-DD-YYYY hh:mm:ss: " stamp checked and cut off.
std::vector<std::string> logMessages(const std::string& logPath);

// The marks of Startup runs (HKEY_CURRENT_USER\Software\Orvalix\Logons, and
// the stand-in's copy) removed, as a new log-on finds them: the next start
// runs its Startup folder again.
void forgetLogonRuns();
// A registry key and everything below it; whether it went.
bool deleteTree(HKEY parent, const std::string& path);

// Puts the current directory back when the test ends.
class KeepCurrentDir {
 public:
  KeepCurrentDir() : saved_(currentDir()) {}
  ~KeepCurrentDir() { SetCurrentDirectoryA(saved_.c_str()); }

 private:
  std::string saved_;
};

// A fresh temporary folder that is the current directory while it lives.
class InTempDir : public TempDir {
 public:
  InTempDir() { SetCurrentDirectoryA(path().c_str()); }

 private:
  KeepCurrentDir keep_;
};

}  // namespace testutil
