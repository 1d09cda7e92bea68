# Run by CPack on the staged tree, before it builds the .debs, to give the
# files the form Debian ships them in: programs and shared libraries
# stripped of their comment and note sections as well as their symbols,
# manual pages and changelogs compressed with gzip -9n. Already compressed
# files are left alone. Each package is staged in a folder of its own.
file(GLOB_RECURSE _files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(_file IN LISTS _files)
  if(IS_SYMLINK "${_file}")
    continue()
  endif()
  if(_file MATCHES "/usr/bin/[^/]+$" OR _file MATCHES "/usr/lib/[^/]+/[^/]+\\.so\\.[0-9.]+$")
    execute_process(
      COMMAND "${CPACK_VELKAST_STRIP}" --remove-section=.comment --remove-section=.note "${_file}"
      RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "strip failed on ${_file}")
    endif()
  elseif(_file MATCHES "/usr/share/(man/man[^/]+|doc/[^/]+/changelog)" AND NOT _file MATCHES "\\.gz$")
    execute_process(COMMAND gzip -9nf "${_file}" RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "gzip failed on ${_file}")
    endif()
  endif()
endforeach()
