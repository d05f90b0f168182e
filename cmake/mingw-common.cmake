# The settings that both MinGW targets share; a target's toolchain file sets CMAKE_SYSTEM_PROCESSOR and
# ORVANE_TRIPLET first. Test executables run under Wine: cmake/OrvaneTesting.cmake sets the emulator
# (build/wine-exec, with the build's private prefix).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ORVANE_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANE_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANE_TRIPLET}-windres)

# The 32-bit libraries live in ORVANE_DEPS_PREFIX, the 64-bit ones beside it (scripts/deps-prefix.sh).
if(NOT ORVANE_DEPS_PREFIX)
  if(DEFINED ENV{ORVANE_DEPS_PREFIX})
    set(ORVANE_DEPS_PREFIX $ENV{ORVANE_DEPS_PREFIX})
  else()
    set(ORVANE_DEPS_PREFIX /opt/orvane-deps)
  endif()
  if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    string(APPEND ORVANE_DEPS_PREFIX "-${CMAKE_SYSTEM_PROCESSOR}")
  endif()
endif()
set(ORVANE_DEPS_PREFIX ${ORVANE_DEPS_PREFIX} CACHE PATH "Prefix of the cross-built third-party libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORVANE_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH ${ORVANE_DEPS_PREFIX} /usr/${ORVANE_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
