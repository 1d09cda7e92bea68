# Installing Velkast on Windows and packaging it: the programs, the README
# and the licence side by side in one folder, as a ZIP (cpack -G ZIP) and as
# a 64-bit installer with a Start-menu shortcut and an uninstaller
# (cpack -G NSIS).
if(TARGET Velkast)
  install(TARGETS Velkast RUNTIME DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Velkast)
set(CPACK_PACKAGE_VENDOR "The Velkast developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turn a password into an encrypted text and back")
set(CPACK_PACKAGE_FILE_NAME velkast-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Velkast)
# The ZIP holds the files themselves, not a folder around them.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

# NSIS builds a 32-bit installer unless told otherwise, and a 32-bit
# installer puts a 64-bit program under the 32-bit Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "Velkast ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME Velkast)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/Velkast.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/Velkast.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME Velkast.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start-menu shortcut: the program and the name it is listed under.
set(CPACK_PACKAGE_EXECUTABLES Velkast Velkast)
include(CPack)
