# Installing Velkast on Linux and packaging it as a .deb; each rule applies
# to the programs this build has.

# When PROJECT_VERSION was released; the metainfo and the changelog say so.
set(VELKAST_RELEASE_DATE 2026-12-06)
set(VELKAST_RELEASE_DATE_RFC2822 "Sun, 06 Dec 2026 12:00:00 +0000")
set(VELKAST_PACKAGE_MAINTAINER "The Velkast developers <velkast@example.org>"
  CACHE STRING "Maintainer named in the .deb and its changelog")

set(_velkast_linux ${PROJECT_SOURCE_DIR}/res/linux)
set(_velkast_gen ${PROJECT_BINARY_DIR}/packaging)

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

# Every package carries the copyright file and the changelog in a folder of
# its own name.
set(_velkast_packages velkast:velkast libvelkast1:library libvelkast-dev:development
                      python3-velkast:python)
foreach(_package_component IN LISTS _velkast_packages)
  string(REPLACE ":" ";" _package_component ${_package_component})
  list(GET _package_component 0 _package)
  list(GET _package_component 1 _component)
  install(FILES ${_velkast_linux}/copyright ${_velkast_gen}/changelog
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${_package} COMPONENT ${_component})
endforeach()

# The .debs, one a component: cpack -G DEB in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL velkast library development python)
set(CPACK_PACKAGE_NAME velkast)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velkast developers")
set(_velkast_no_protection
  "The key is built into Velkast, so anyone who has it can decrypt every\n"
  "Velkast text: it keeps passwords out of casual sight, it does not protect\n"
  "them from anyone who wants them.")
set(CPACK_DEBIAN_VELKAST_DESCRIPTION
  "turn a password into an encrypted text and back\n"
  "Velkast is a one-dialog utility: type a password and press Encrypt to get\n"
  "its encrypted text (AES-256, lowercase hexadecimal), or type an encrypted\n"
  "text and press Decrypt to get the password back. The velkast-cli command\n"
  "does the same for scripts.\n"
  "\n"
  "The key is built into the program, so anyone who has Velkast can decrypt\n"
  "every Velkast text: it keeps passwords out of casual sight, it does not\n"
  "protect them from anyone who wants them.")
set(_velkast_library_description
  "libvelkast makes Velkast's encrypted texts from passwords and reads them\n"
  "back, in-process, for programs that keep such texts in their\n"
  "configuration files and for the scripts that write them. It refuses what\n"
  "velkast-cli refuses, in its words, and reads leniently as the dialog\n"
  "does.\n\n" ${_velkast_no_protection} "\n\n")
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION "Velkast encrypted texts for other programs (library)\n"
  ${_velkast_library_description} "This package holds the shared library.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
  "Velkast encrypted texts for other programs (development files)\n"
  ${_velkast_library_description}
  "This package holds the C header, the pkg-config file, the CMake package\n"
  "and the manual page.")
set(CPACK_DEBIAN_PYTHON_DESCRIPTION "Velkast encrypted texts for other programs (Python 3)\n"
  ${_velkast_library_description} "This package holds the Python 3 module velkast.")
foreach(_var CPACK_DEBIAN_VELKAST_DESCRIPTION CPACK_DEBIAN_LIBRARY_DESCRIPTION
             CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION CPACK_DEBIAN_PYTHON_DESCRIPTION)
  string(JOIN "" ${_var} ${${_var}})
endforeach()
set(CPACK_DEBIAN_VELKAST_PACKAGE_NAME velkast)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libvelkast1)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvelkast-dev)
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-velkast)
set(CPACK_DEBIAN_PACKAGE_SOURCE velkast)
set(CPACK_DEBIAN_VELKAST_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELKAST_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The programs' libraries come from what they link; the font so text always
# renders.
set(CPACK_DEBIAN_VELKAST_PACKAGE_SHLIBDEPS ON)
if(TARGET Velkast)
  set(CPACK_DEBIAN_VELKAST_PACKAGE_DEPENDS fonts-dejavu-core)
  # The dialog on a Wayland desktop without XWayland; on X (and on Wayland
  # with XWayland) it runs without, and says what to install where it is
  # missing.
  set(CPACK_DEBIAN_VELKAST_PACKAGE_RECOMMENDS qt6-wayland)
endif()
# The library's own dependencies are found by cmake/cpack/LibraryPackage.cmake
# (cpack's would call ldconfig from maintainer scripts, where Debian wants
# the trigger); it names itself for the packages linked with it (shlibs).
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libvelkast1 (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3:any, libvelkast1 (= ${PROJECT_VERSION})")
# (shlibs, and symbols with each function of the version script as brought
# by this version).
file(WRITE ${_velkast_gen}/library/shlibs "libvelkast 1 libvelkast1 (>= ${PROJECT_VERSION})\n")
file(STRINGS ${PROJECT_SOURCE_DIR}/libvelkast/velkast.map _velkast_api REGEX "^ +velkast_[a-z_]+;$")
list(TRANSFORM _velkast_api REPLACE " *(velkast_[a-z_]+);" " \\1@VELKAST_1 ${PROJECT_VERSION}\n")
file(WRITE ${_velkast_gen}/library/symbols "libvelkast.so.1 libvelkast1 #MINVER#\n"
  "* Build-Depends-Package: libvelkast-dev\n"
  " VELKAST_1@VELKAST_1 ${PROJECT_VERSION}\n" ${_velkast_api})
file(WRITE ${_velkast_gen}/library/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${_velkast_gen}/library/shlibs
  ${_velkast_gen}/library/symbols ${_velkast_gen}/library/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_VELKAST_STRIP "${CMAKE_STRIP}")
list(PREPEND CPACK_PRE_BUILD_SCRIPTS ${_velkast_linux}/deb-staging.cmake
  ${PROJECT_SOURCE_DIR}/cmake/cpack/LibraryPackage.cmake)
list(PREPEND CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/DebMemberModes.cmake)
include(CPack)
