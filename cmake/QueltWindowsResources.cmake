# Windows resources of a program: the icon, an application manifest and VERSIONINFO, all taken
# from project(VERSION) and the names in the top CMakeLists.txt.
#
#   quelt_windows_resources(TARGET DESCRIPTION "text" [GUI])
#
# GUI programs also get common controls 6 (themed message boxes) and per-monitor DPI awareness:
# the panel is a fixed pixel layout drawn with UpdateLayeredWindow, so it must be drawn 1:1 in
# physical pixels. A DPI-unaware window would be bitmap-stretched by the system (blurred) and at
# 150% would need 1691 x 1019 physical pixels (cut on smaller screens); aware, it stays sharp and
# takes 1127 x 679 physical pixels at any scale. Message boxes scale themselves under
# PerMonitorV2.
function(quelt_windows_resources target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(R "GUI" "DESCRIPTION" "" ${ARGN})
  enable_language(RC)

  # "1.05" -> 1,5,0,0 (leading zeros dropped: the resource compiler would read them as octal).
  math(EXPR major "${PROJECT_VERSION_MAJOR}+0")
  math(EXPR minor "${PROJECT_VERSION_MINOR}+0")
  set(QUELT_RC_VERSION_COMMAS "${major},${minor},0,0")
  set(QUELT_RC_VERSION_DOTS "${major}.${minor}.0.0")
  set(QUELT_RC_NAME ${target})
  set(QUELT_RC_DESCRIPTION "${R_DESCRIPTION}")
  set(QUELT_RC_ICON "${PROJECT_SOURCE_DIR}/assets/icons/quelt.ico")
  set(QUELT_RC_MANIFEST_GUI "")
  if(R_GUI)
    string(CONCAT QUELT_RC_MANIFEST_GUI
      "  <dependency>\n"
      "    <dependentAssembly>\n"
      "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\"\n"
      "                        version=\"6.0.0.0\" processorArchitecture=\"*\"\n"
      "                        publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
      "    </dependentAssembly>\n"
      "  </dependency>\n"
      "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
      "    <windowsSettings>\n"
      "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>\n"
      "      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>\n"
      "    </windowsSettings>\n"
      "  </application>\n")
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(QUELT_RC_MANIFEST "${dir}/${target}.manifest")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest.in ${QUELT_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in ${dir}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/${target}.rc)
  # The icon and the manifest are read by the resource compiler, not scanned for by CMake.
  set_source_files_properties(${dir}/${target}.rc PROPERTIES
    OBJECT_DEPENDS "${QUELT_RC_ICON};${QUELT_RC_MANIFEST}")
endfunction()
