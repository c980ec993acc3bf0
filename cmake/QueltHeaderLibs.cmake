# Header-only libraries from Debian's packages (nlohmann-json3-dev, libcli11-dev, libstb-dev),
# used by the native and the Windows build alike. A cross build must not search /usr/include, so
# the Windows build sees each library through a folder that holds only a link to it.
set(quelt_header_root ${CMAKE_BINARY_DIR}/_header_libs)
file(MAKE_DIRECTORY ${quelt_header_root})

function(quelt_header_lib target path)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} is missing: run scripts/install-deps.sh")
  endif()
  get_filename_component(name ${path} NAME)
  file(MAKE_DIRECTORY ${quelt_header_root}/${target})
  file(CREATE_LINK ${path} ${quelt_header_root}/${target}/${name} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${quelt_header_root}/${target})
endfunction()

quelt_header_lib(quelt_json /usr/include/nlohmann)
quelt_header_lib(quelt_cli11 /usr/include/CLI)
# stb's headers are included by their own names: <stb_image_write.h>.
quelt_header_lib(quelt_stb_folder /usr/include/stb)
add_library(quelt_stb INTERFACE)
target_include_directories(quelt_stb SYSTEM INTERFACE ${quelt_header_root}/quelt_stb_folder/stb)
