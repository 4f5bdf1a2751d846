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
#elif defined(BAD_POPCNT)
/* Built with -mpopcnt, which the first x86-64 processors lack. */
volatile unsigned a = 7;
void entry(void) { ExitProcess((UINT)__builtin_popcount(a)); }
#else
/* BAD_NO_UNWIND, BAD_VERSION, BAD_MANIFEST: a sound program; the build gives
   the fault. */
volatile int a = 3;
static int __attribute__((noinline)) times(int x) { return x * a; }
void entry(void) { ExitProcess((UINT)times(a)); }
#endif
