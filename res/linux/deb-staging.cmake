# Run by CPack on the staged tree, before it builds the .deb, to give the
# files the form Debian ships them in: programs stripped of their comment and
# note sections as well as their symbols, manual pages and the changelog
# compressed with gzip -9n. Already compressed files are left alone.
file(GLOB _programs "${CPACK_TEMPORARY_DIRECTORY}/*/bin/*")
foreach(_program IN LISTS _programs)
  execute_process(
    COMMAND "${CPACK_VELKAST_STRIP}" --remove-section=.comment --remove-section=.note "${_program}"
    RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "strip failed on ${_program}")
  endif()
endforeach()

file(GLOB_RECURSE _docs
  "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/man*/*"
  "${CPACK_TEMPORARY_DIRECTORY}/*/share/doc/velkast/changelog*")
foreach(_doc IN LISTS _docs)
  if(_doc MATCHES "\\.gz$")
    continue()
  endif()
  execute_process(COMMAND gzip -9nf "${_doc}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${_doc}")
  endif()
endforeach()
