# Configures the project in a fresh folder without the portal's public key: configure must fail, naming the
# missing key, rather than build a launcher that trusts some default key.
#   cmake -DSOURCE_DIR=<source> -DWORK_DIR=<scratch folder> [-DDEPS_PREFIX=<prefix>] -P ConfigureWithoutPortalKey.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK_DIR}" -DORVANE_BUILD_TESTS=OFF
    "-DORVANE_DEPS_PREFIX=${DEPS_PREFIX}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE_RECURSE "${WORK_DIR}")
if(result EQUAL 0)
  message(FATAL_ERROR "configure without ORVANE_PARAM_PUBLIC_KEY succeeded:\n${output}")
endif()
if(NOT output MATCHES "ORVANE_PARAM_PUBLIC_KEY names no file")
  message(FATAL_ERROR "configure failed, but not for the missing key:\n${output}")
endif()
