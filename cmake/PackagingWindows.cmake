# Installing Velkast on Windows and packaging it: the programs, a README for
# Windows users and the licence side by side in one folder, as a ZIP
# (cpack -G ZIP) and as a 64-bit installer with a Start-menu shortcut and an
# uninstaller (cpack -G NSIS, from cmake/windows/NSIS.template.in).
if(TARGET Velkast)
  install(TARGETS Velkast RUNTIME DESTINATION .)
endif()

# Text files as Windows shows them everywhere: with CRLF line ends.
set(_velkast_gen ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/res/windows/README.txt ${_velkast_gen}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_velkast_gen}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${_velkast_gen}/README.txt ${_velkast_gen}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Velkast)
set(CPACK_PACKAGE_VENDOR "The Velkast developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turn a password into an encrypted text and back")
set(CPACK_PACKAGE_FILE_NAME velkast-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Velkast)
# The ZIP holds the files themselves, not a folder around them.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_RESOURCE_FILE_LICENSE ${_velkast_gen}/LICENSE.txt)
set(CPACK_STRIP_FILES ON)

# The installer's script is our own template: 64-bit, into the 64-bit
# Program Files, with what Apps and Features shows.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/windows)
list(APPEND CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/NsisFileLists.cmake)
list(PREPEND CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/ZipEntries.cmake)
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/Velkast.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/Velkast.ico)
include(CPack)
