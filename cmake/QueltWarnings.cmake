# Warnings are errors on every compiler we build with (g++ natively, mingw-w64 g++ for Windows).
add_library(quelt_warnings INTERFACE)
if(MSVC)
  target_compile_options(quelt_warnings INTERFACE /W4 /WX /permissive-)
else()
  target_compile_options(quelt_warnings INTERFACE -Wall -Wextra -Wpedantic -Werror)
endif()
if(WIN32)
  target_compile_definitions(quelt_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                      _WIN32_WINNT=0x0601)
endif()

# Statically linked Windows executables: nothing but the exe travels.
if(WIN32 AND NOT MSVC)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
