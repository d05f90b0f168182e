# Cross build for 64-bit Windows. It serves the tests, the demo and the benchmarks on a machine whose kernel runs
# no 32-bit code, where Wine can start only 64-bit Windows programs; the deliverables stay 32-bit.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVANE_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
