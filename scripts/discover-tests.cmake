# Brings one test program's list of tests up to date: runs the program's discovery file (INCLUDE_FILE, one
# "<program>[1]_include.cmake" of the build), which asks the program for its tests only when the program is
# newer than its list, and registers nothing. ctest would ask the programs one after another; scripts/run-tests
# runs this for all of them side by side first.
#   cmake -DINCLUDE_FILE=<file> -P scripts/discover-tests.cmake

# The discovery module runs itself when included from a script; here the discovery file calls it.
unset(CMAKE_SCRIPT_MODE_FILE)
function(add_test)
endfunction()
function(set_tests_properties)
endfunction()
include("${INCLUDE_FILE}")
