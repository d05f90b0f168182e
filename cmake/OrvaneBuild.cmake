# Compiler settings shared by every target of the project.

# A Unicode build for Windows 7 and later headers; the older systems are reached only through what the code
# loads at run time.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# The deliverables carry their runtime: no libgcc, libstdc++ or winpthread DLL beside them.
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Our own code builds without warnings; third-party code keeps its own settings.
function(orvane_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
