# Run by cpack after it has made the ZIP: its entries are rewritten in name
# order, with the source's time and without the owner and group that the
# archive library takes from whoever packs (normalize_zip.py).
find_program(_python3 python3 REQUIRED)
foreach(_package IN LISTS CPACK_PACKAGE_FILES)
  if(_package MATCHES "\\.zip$")
    execute_process(
      COMMAND "${_python3}" "${CMAKE_CURRENT_LIST_DIR}/normalize_zip.py" "${_package}"
              "$ENV{SOURCE_DATE_EPOCH}"
      RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "${_package}: cannot normalise its entries")
    endif()
  endif()
endforeach()
