# Run by cpack on the staged tree before it makes the .debs: the library
# package's dependencies, from what libvelkast.so.1 links, as
# dpkg-shlibdeps names them. (cpack finds them itself when asked, but then
# calls ldconfig from maintainer scripts; the package activates Debian's
# ldconfig trigger instead.)
file(GLOB _library "${CPACK_TEMPORARY_DIRECTORY}/library/usr/lib/*/libvelkast.so.1.*")
if(NOT _library)
  return()
endif()
# dpkg-shlibdeps reads it where a package build would have it.
set(_work "${CPACK_TOPLEVEL_DIRECTORY}/library-shlibdeps")
file(WRITE "${_work}/debian/control" "Source: velkast\n\nPackage: libvelkast1\nArchitecture: any\n")
file(MAKE_DIRECTORY "${_work}/debian/libvelkast1/DEBIAN")
file(COPY "${_library}" DESTINATION "${_work}/debian/libvelkast1")
get_filename_component(_name "${_library}" NAME)
execute_process(
  COMMAND dpkg-shlibdeps -O "debian/libvelkast1/${_name}"
  WORKING_DIRECTORY "${_work}"
  OUTPUT_VARIABLE _substvars
  RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0 OR NOT _substvars MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps could not name the dependencies of ${_library}")
endif()
set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
