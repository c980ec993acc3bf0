# What `cmake --install` puts where, and the packages CPack makes of it
# (scripts/package.sh runs both for Linux and Windows).
#
# Linux (prefix /usr in the .deb, any folder for the tar.gz):
#   bin/quelt-panel, bin/quelt-cli, bin/quelt-boxsim
#   share/quelt/GUISkin/...                     found by the panel through ../share/quelt
#   share/applications/<app id>.desktop, share/metainfo/<app id>.metainfo.xml
#   share/icons/hicolor/<n>x<n>/apps/<app id>.png
#   share/man/man1/quelt-{panel,cli,boxsim}.1.gz, share/bash-completion/completions/quelt-cli
#   share/doc/quelt-control-center/copyright
# Windows (the zip and the installer): quelt-panel.exe and quelt-cli.exe with GUISkin beside
# them.
# The release date in the forms the metainfo, the man pages and the changelog want.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${QUELT_RELEASE_EPOCH})
string(TIMESTAMP QUELT_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP QUELT_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
set(QUELT_PACKAGE_CONTACT "Quelt developers <dev@quelt.example>"
    CACHE STRING "Maintainer of the packages")

set(quelt_programs "")
foreach(program quelt-panel quelt-cli quelt-boxsim)
  if(TARGET ${program})
    list(APPEND quelt_programs ${program})
  endif()
endforeach()

if(WIN32)
  install(TARGETS ${quelt_programs} RUNTIME DESTINATION .)
  if(TARGET quelt-panel)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/GUISkin DESTINATION .)
  endif()
else()
  include(GNUInstallDirs)
  set(linux_dir ${PROJECT_SOURCE_DIR}/packaging/linux)
  set(generated ${CMAKE_BINARY_DIR}/packaging)
  install(TARGETS ${quelt_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET quelt-panel)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/GUISkin DESTINATION ${CMAKE_INSTALL_DATADIR}/quelt)
    configure_file(${linux_dir}/app.desktop.in ${generated}/${QUELT_APP_ID}.desktop @ONLY)
    configure_file(${linux_dir}/app.metainfo.xml.in ${generated}/${QUELT_APP_ID}.metainfo.xml
                   @ONLY)
    install(FILES ${generated}/${QUELT_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${generated}/${QUELT_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 24 32 48 64 128 256)
      install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/quelt-${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME ${QUELT_APP_ID}.png)
    endforeach()
  endif()

  # Man pages, compressed as Debian wants them (gzip -n: no name or time stamp inside).
  find_program(QUELT_GZIP gzip)
  set(man_pages "")
  foreach(program ${quelt_programs})
    configure_file(${linux_dir}/man/${program}.1.in ${generated}/man/${program}.1 @ONLY)
    add_custom_command(OUTPUT ${generated}/man/${program}.1.gz
                       COMMAND ${QUELT_GZIP} -9nkf ${generated}/man/${program}.1
                       DEPENDS ${generated}/man/${program}.1
                       COMMENT "Compressing the man page of ${program}")
    list(APPEND man_pages ${generated}/man/${program}.1.gz)
  endforeach()
  add_custom_target(quelt_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  if(TARGET quelt-cli)
    install(FILES ${linux_dir}/quelt-cli.bash-completion
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME quelt-cli)
  endif()
  configure_file(${linux_dir}/changelog.in ${generated}/changelog @ONLY)
  add_custom_command(OUTPUT ${generated}/changelog.gz
                     COMMAND ${QUELT_GZIP} -9nkf ${generated}/changelog
                     DEPENDS ${generated}/changelog)
  add_custom_target(quelt_changelog ALL DEPENDS ${generated}/changelog.gz)
  install(FILES ${linux_dir}/copyright ${generated}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QUELT_PACKAGE_NAME})
endif()

# --- packages ---
set(CPACK_PACKAGE_NAME ${QUELT_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR ${QUELT_VENDOR})
set(CPACK_PACKAGE_VERSION ${QUELT_VERSION_STRING})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for Quelt multi-display adapter boxes")
set(CPACK_PACKAGE_CONTACT ${QUELT_PACKAGE_CONTACT})
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${QUELT_PRODUCT_NAME})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${QUELT_PRODUCT_NAME})
set(CPACK_STRIP_FILES ON)
# Per generator file names (cmake/QueltCPackOptions.cmake.in).
configure_file(${PROJECT_SOURCE_DIR}/cmake/QueltCPackOptions.cmake.in
               ${CMAKE_BINARY_DIR}/QueltCPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/QueltCPackOptions.cmake)

if(WIN32)
  set(CPACK_GENERATOR "ZIP;NSIS64")
  set(CPACK_NSIS_PACKAGE_NAME ${QUELT_PRODUCT_NAME})
  set(CPACK_NSIS_DISPLAY_NAME ${QUELT_PRODUCT_NAME})
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
  set(CPACK_PACKAGE_EXECUTABLES "quelt-panel;${QUELT_PRODUCT_NAME}")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "quelt-panel.exe")
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/icons/quelt.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/icons/quelt.ico)
  set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
  # A 64-bit installer: it runs where the 64-bit programs run, and writes the native registry.
  # The uninstaller removes the vendor key too when nothing else of the vendor is left in it.
  string(CONCAT CPACK_NSIS_DEFINES
    "Target amd64-unicode\n"
    "Function un.onUninstSuccess\n"
    "  DeleteRegKey /ifempty SHCTX 'Software\\${QUELT_VENDOR}'\n"
    "FunctionEnd")
else()
  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_DEBIAN_PACKAGE_NAME ${QUELT_PACKAGE_NAME})
  set(CPACK_DEBIAN_FILE_NAME "${QUELT_PACKAGE_NAME}_${QUELT_VERSION_STRING}_amd64.deb")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # CPack puts the summary above it as the synopsis.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "The Quelt Control Center finds Quelt multi-display adapter boxes on the\n"
      "serial ports and shows and changes their wall layout, resolutions, frame\n"
      "rate, clock synchronisation, bezel compensation and device ID, resets them\n"
      "and switches test patterns. It includes a command-line tool, quelt-cli,\n"
      "and a box simulator, quelt-boxsim.")
  string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
  # The .deb installs under /usr (its default prefix); the tar.gz unpacks anywhere.
endif()

include(CPack)
