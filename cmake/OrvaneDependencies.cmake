# Imported targets for the third-party libraries. On Debian they come from the prefix that scripts/bootstrap
# builds; on Windows with a MinGW toolchain, point CMAKE_PREFIX_PATH (or ORVANE_DEPS_PREFIX) at a folder that holds
# the same static libraries and headers.

if(ORVANE_DEPS_PREFIX)
  list(APPEND CMAKE_PREFIX_PATH ${ORVANE_DEPS_PREFIX})
endif()

function(orvane_import_library name library header)
  find_library(ORVANE_${name}_LIBRARY NAMES ${library} REQUIRED)
  find_path(ORVANE_${name}_INCLUDE NAMES ${header} REQUIRED)
  add_library(deps::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(deps::${name} PROPERTIES
    IMPORTED_LOCATION ${ORVANE_${name}_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${ORVANE_${name}_INCLUDE})
endfunction()

orvane_import_library(zlib libz.a zlib.h)
orvane_import_library(zstd libzstd.a zstd.h)
orvane_import_library(curl libcurl.a curl/curl.h)
orvane_import_library(crypto libcrypto.a openssl/rsa.h)
orvane_import_library(png libpng16.a png.h)
orvane_import_library(tinyxml libtinyxml.a tinyxml.h)

set_property(TARGET deps::curl APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB)
set_property(TARGET deps::curl APPEND PROPERTY INTERFACE_LINK_LIBRARIES ws2_32 crypt32 bcrypt advapi32)
set_property(TARGET deps::crypto APPEND PROPERTY INTERFACE_LINK_LIBRARIES ws2_32 crypt32 bcrypt advapi32 user32)
set_property(TARGET deps::png APPEND PROPERTY INTERFACE_LINK_LIBRARIES deps::zlib)

option(ORVANE_BUILD_TESTS "Build the tests (needs GoogleTest)" ON)
if(ORVANE_BUILD_TESTS)
  find_package(GTest CONFIG REQUIRED)
endif()
