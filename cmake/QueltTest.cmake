# GoogleTest is built from Debian's source package so the same suite builds natively,
# under the sanitizers and with mingw-w64 for wine.
set(QUELT_GTEST_SRC "/usr/src/googletest" CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${QUELT_GTEST_SRC} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# quelt_add_test(NAME SOURCES ... LIBS ... [DISPLAY])
# One executable per test area. Natively each test case becomes its own CTest entry; when
# cross-compiling the whole executable is one CTest entry run through the emulator (wine).
function(quelt_add_test name)
  cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  # Cases that open windows share one X display; they must not overlap.
  set(lock "")
  if(T_DISPLAY)
    set(lock RESOURCE_LOCK x_display)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main quelt_warnings)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 ${lock})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 ${lock})
  endif()
endfunction()
