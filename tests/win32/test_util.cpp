#include "test_util.h"

#include <gtest/gtest.h>

#include <regex>

namespace testutil {

namespace {

struct Search {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == s->pid && IsWindowVisible(w)) s->found.push_back(w);
  return TRUE;
}

}  // namespace

std::vector<HWND> topWindows(DWORD processId) {
  Search search = {processId, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string currentDir() {
  char buf[MAX_PATH * 4];
  DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
  return std::string(buf, n);
}

TempDir::TempDir() {
  static unsigned counter;
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  for (;;) {
    path_ = std::string(base) + "orv" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { removeTree(path_); }

void removeTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(*entry.cAlternateFileName ? path + "\\" + entry.cAlternateFileName : full);
      else if (!DeleteFileA(*entry.cAlternateFileName
                                ? (path + "\\" + entry.cAlternateFileName).c_str()
                                : full.c_str()))  // a look-alike's name is another's
        DeleteFileW(
            std::wstring(L"\\\\?\\").append(full.begin(), full.end()).c_str());  // past MAX_PATH
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(path.c_str());
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(path.c_str());
}

std::string makeWideFile(const std::string& folder, const std::wstring& name, bool asFolder) {
  std::wstring path = L"\\\\?\\" + wide(folder) + L"\\" + name, shortPath(MAX_PATH, 0);
  if (asFolder)
    CreateDirectoryW(path.c_str(), nullptr);
  else
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH));
  return narrow(shortPath.substr(shortPath.rfind(L'\\') + 1));
}

void writeFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::string readFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string data;
  char buf[65536];
  DWORD n;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) data.append(buf, n);
  CloseHandle(h);
  return data;
}

bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> lines(const std::string& path) {
  std::string data = readFile(path);
  std::vector<std::string> out;
  for (size_t at = 0; at < data.size();) {
    size_t end = data.find("\r\n", at);
    if (end == std::string::npos) end = data.size();
    out.push_back(data.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

std::vector<std::string> logMessages(const std::string& logPath) {
  static const std::regex stamp(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d: )");
  std::string data = readFile(logPath);
  EXPECT_TRUE(data.empty() || data.ends_with("\r\n")) << "line without CR LF in " << logPath;
  std::vector<std::string> messages;
  for (const std::string& line : lines(logPath)) {
    EXPECT_TRUE(std::regex_match(line.substr(0, 21), stamp)) << line;
    messages.push_back(line.size() >= 21 ? line.substr(21) : line);
  }
  return messages;
}

bool deleteTree(HKEY parent, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key)) return false;
  char name[256];
  while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS && deleteTree(key, name)) {
  }
  RegCloseKey(key);
  return RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

void forgetLogonRuns() {
  for (const char* marks :
       {"Software\\Orvalix\\Logons", "Software\\Orvalix Tests\\HKCU\\Software\\Orvalix\\Logons"})
    deleteTree(HKEY_CURRENT_USER, marks);
}

}  // namespace testutil
