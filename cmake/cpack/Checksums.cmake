# Run by cpack after it has made the packages: SHA256SUMS beside them, in
# the format of sha256sum, so a rebuild can be compared with
# "sha256sum -c SHA256SUMS". Packages made by earlier runs of cpack into the
# same folder keep their lines.
# CPACK_PACKAGE_FILES are the packages as made, in cpack's own folder, from
# where they are then copied to CPACK_PACKAGE_DIRECTORY.
set(_sums "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
foreach(_package IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(_name "${_package}" NAME)
  file(SHA256 "${_package}" _sum)
  set(_lines "")
  if(EXISTS "${_sums}")
    file(STRINGS "${_sums}" _lines)
    list(FILTER _lines EXCLUDE REGEX "  ${_name}$")
  endif()
  list(APPEND _lines "${_sum}  ${_name}")
  list(SORT _lines COMPARE STRING)
  list(JOIN _lines "\n" _text)
  file(WRITE "${_sums}" "${_text}\n")
endforeach()
