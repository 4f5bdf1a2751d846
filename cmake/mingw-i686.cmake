# Cross toolchain: Debian's MinGW-w64 for 32-bit Windows (the x86 build).
set(MINGW_TARGET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
