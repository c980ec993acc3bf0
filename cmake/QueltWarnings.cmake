# Warnings on every compiler we build with (g++ natively, mingw-w64 g++ for Windows). They are
# errors where QUELT_WERROR is on: in every preset and so in the test command. A plain build (a
# packager's, another compiler version) reports them without stopping.
option(QUELT_WERROR "Treat compiler warnings as errors" OFF)

add_library(quelt_warnings INTERFACE)
if(MSVC)
  target_compile_options(quelt_warnings INTERFACE /W4 /permissive- $<$<BOOL:${QUELT_WERROR}>:/WX>)
else()
  target_compile_options(quelt_warnings INTERFACE -Wall -Wextra -Wpedantic
                                                  $<$<BOOL:${QUELT_WERROR}>:-Werror>)
endif()
if(WIN32)
  target_compile_definitions(quelt_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                      _WIN32_WINNT=0x0601)
endif()

# Statically linked Windows executables: nothing but the exe travels. Release builds carry no
# symbols.
if(WIN32 AND NOT MSVC)
  add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()
