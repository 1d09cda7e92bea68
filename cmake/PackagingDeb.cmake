# Installing Velkast on Linux and packaging it as a .deb; each rule applies
# to the programs this build has.

# When PROJECT_VERSION was released; the metainfo and the changelog say so.
set(VELKAST_RELEASE_DATE 2026-12-06)
set(VELKAST_RELEASE_DATE_RFC2822 "Sun, 06 Dec 2026 12:00:00 +0000")
set(VELKAST_PACKAGE_MAINTAINER "The Velkast developers <velkast@example.org>"
  CACHE STRING "Maintainer named in the .deb and its changelog")

set(_velkast_linux ${PROJECT_SOURCE_DIR}/res/linux)
set(_velkast_gen ${PROJECT_BINARY_DIR}/packaging)
set(_velkast_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/velkast)

configure_file(${_velkast_linux}/org.velkast.Velkast.metainfo.xml.in
  ${_velkast_gen}/org.velkast.Velkast.metainfo.xml @ONLY)
configure_file(${_velkast_linux}/changelog.in ${_velkast_gen}/changelog @ONLY)

# The dialog program with its manual page (velkast-cli installs itself and
# its page from tools/).
if(TARGET Velkast)
  install(TARGETS Velkast RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${_velkast_linux}/velkast.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The desktop's view of the dialog program: launcher, icons, software-centre entry.
if(TARGET Velkast AND TARGET velkast_theme_icons)
  install(FILES ${_velkast_linux}/org.velkast.Velkast.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${_velkast_gen}/org.velkast.Velkast.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
  install(DIRECTORY ${VELKAST_THEME_ICON_DIR}/
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
endif()

install(FILES ${_velkast_linux}/copyright ${_velkast_gen}/changelog DESTINATION ${_velkast_docdir})

# The .deb: cpack -G DEB in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkast)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velkast developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a password into an encrypted text and back")
set(CPACK_PACKAGE_DESCRIPTION
  "Velkast is a one-dialog utility: type a password and press Encrypt to get\n"
  "its encrypted text (AES-256, lowercase hexadecimal), or type an encrypted\n"
  "text and press Decrypt to get the password back. The velkast-cli command\n"
  "does the same for scripts.\n"
  "\n"
  "The key is built into the program, so anyone who has Velkast can decrypt\n"
  "every Velkast text: it keeps passwords out of casual sight, it does not\n"
  "protect them from anyone who wants them.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELKAST_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from what the binaries link; the font so text always renders.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET Velkast)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
  # The dialog on a Wayland desktop without XWayland; on X (and on Wayland
  # with XWayland) it runs without, and says what to install where it is
  # missing.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_VELKAST_STRIP "${CMAKE_STRIP}")
list(PREPEND CPACK_PRE_BUILD_SCRIPTS ${_velkast_linux}/deb-staging.cmake)
list(PREPEND CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/DebMemberModes.cmake)
include(CPack)
