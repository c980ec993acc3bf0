# Windows x86_64 cross build with mingw-w64 (posix thread model: std::thread and std::mutex).
# Test executables run through wine (scripts/wine/run-exe.sh). 64-bit only: a 32-bit exe under
# this wine exits 0 without running, so a broken test would pass.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUELT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUELT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUELT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUELT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUELT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

get_filename_component(QUELT_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUELT_SOURCE_ROOT}/scripts/wine/run-exe.sh)
