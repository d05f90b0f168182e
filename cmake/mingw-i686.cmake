# Cross build for 32-bit Windows, the deliverables' target, with the MinGW-w64 POSIX-thread compilers.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORVANE_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
