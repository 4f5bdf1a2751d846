/* Exes the checker must reject, one fault each (chosen by a define). */
#define _WIN32_WINNT 0x0600
#include <windows.h>

#if defined(BAD_IMPORT)
/* A function that Windows 95 and NT 4.0 do not have. */
void entry(void) { ExitProcess((UINT)GetTickCount64()); }
#elif defined(BAD_RUNTIME_DLL)
/* A dependency on MinGW's shared runtime. */
__declspec(dllimport) int __udivdi3(int);
void entry(void) { ExitProcess((UINT)__udivdi3(7)); }
#elif defined(BAD_CMOV)
/* Built for the i686, where a maximum becomes a cmov. */
volatile int a = 1, b = 2;
void entry(void) {
  int x = a, y = b;
  ExitProcess((UINT)(x > y ? x : y));
}
#endif
