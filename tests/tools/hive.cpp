// Stands in for reg load and reg unload, which Wine 8's reg lacks, in the
// set/undo test: "hive load NAME FILE" loads FILE under HKEY_USERS\NAME;
// "hive unload NAME FILE" writes that key to FILE, then unloads it (Wine's
// unload does not write the file back). Exit status 0 when it worked.
#include <windows.h>

#include <cstring>

static bool enable(const char* privilege) {
  HANDLE token;
  TOKEN_PRIVILEGES tp = {};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return false;
  bool ok = LookupPrivilegeValueA(nullptr, privilege, &tp.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) &&
            GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

int main(int argc, char** argv) {
  if (argc != 4 || !enable(SE_RESTORE_NAME) || !enable(SE_BACKUP_NAME)) return 2;
  if (!std::strcmp(argv[1], "load")) return RegLoadKeyA(HKEY_USERS, argv[2], argv[3]) ? 1 : 0;
  HKEY key;
  if (RegOpenKeyExA(HKEY_USERS, argv[2], 0, KEY_READ, &key)) return 1;
  LONG saved = RegSaveKeyA(key, argv[3], nullptr);
  RegCloseKey(key);
  return saved || RegUnLoadKeyA(HKEY_USERS, argv[2]) ? 1 : 0;
}
