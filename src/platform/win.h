#pragma once

// The one place that decides which Windows the headers describe. The import
// check against the Windows 95 / NT 4.0 allowlist is what really guards the
// target: MinGW's headers declare newer functions regardless.
#ifndef WINVER
#define WINVER 0x0400
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0400
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
