# Test executables are Windows programs: ctest runs each of them under Wine through build/wine-exec, which uses
# a private prefix inside the build folder (see scripts/run-tests for the display and the persistent server).

enable_testing()
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ORVANE_WINEARCH win64)
    # The commands that a 64-bit prefix is driven with (scripts/wine-env.sh.in puts them first on the path).
    foreach(command wine wine-stable)
      file(WRITE ${CMAKE_BINARY_DIR}/wine64-bin/${command} "#!/bin/sh\nexec /usr/lib/wine/wine64 \"$@\"\n")
      file(CHMOD ${CMAKE_BINARY_DIR}/wine64-bin/${command} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
        GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endforeach()
  else()
    set(ORVANE_WINEARCH win32)
  endif()
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-env.sh.in ${CMAKE_BINARY_DIR}/wine-env.sh @ONLY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.in ${CMAKE_BINARY_DIR}/wine-exec @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec)
endif()

# orvane_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [WINDOW] [SERIAL] [LONG])
#   One GoogleTest program; each of its tests becomes one ctest test.
#   WINDOW: the tests open real windows (label "window"; scripts/run-tests provides an X display).
#   SERIAL: the tests must not run beside any other test (a shared fixed resource).
#   LONG: the tests take minutes (label "long" in place of the others, ten minutes allowed); `ctest -LE long`
#   leaves them out.
function(orvane_add_gtest name)
  cmake_parse_arguments(T "WINDOW;SERIAL;LONG" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvane_test_support GTest::gmock GTest::gtest)
  orvane_strict_warnings(${name})
  set(labels unit)
  if(T_WINDOW)
    set(labels window)
  endif()
  set(timeout 180)
  if(T_LONG)
    # One label only: a second one would not survive the discovered tests' property list.
    set(labels long)
    set(timeout 600)
  endif()
  set(properties LABELS "${labels}" TIMEOUT ${timeout})
  if(T_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${properties})
endfunction()

# orvane_add_benchmark(<name> SOURCES <files...> [LIBS <targets...>])
#   A program that measures and prints figures; not a test. `make bench` builds and runs every one of them.
if(NOT TARGET benchmarks)
  add_custom_target(benchmarks)
endif()
function(orvane_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  orvane_strict_warnings(${name})
  set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
  add_dependencies(benchmarks ${name})
  set_property(GLOBAL APPEND PROPERTY ORVANE_BENCHMARKS ${name})
endfunction()
