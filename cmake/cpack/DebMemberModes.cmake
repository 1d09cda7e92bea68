# Run by cpack after it has made the .deb: the three members of its ar
# container (debian-binary, control.tar.*, data.tar.*) carry the modes of
# the files cpack wrote for them, which follow the umask of whoever packs.
# Each gets mode 100644, as dpkg-deb writes them.
#
# An ar member's header is 60 ASCII bytes: name 16, time 12, owner 6,
# group 6, mode 8, size 10, then "`\n"; its data follows, padded to an even
# length. The first header comes after the 8-byte "!<arch>\n".
file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/ar-member-mode" "100644  ")
foreach(_package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT _package MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE "${_package}" _end)
  set(_at 8)
  while(_at LESS _end)
    file(READ "${_package}" _header OFFSET ${_at} LIMIT 60)
    string(SUBSTRING "${_header}" 48 10 _size)
    string(STRIP "${_size}" _size)
    math(EXPR _mode_at "${_at} + 40")
    execute_process(
      COMMAND dd "of=${_package}" bs=1 seek=${_mode_at} conv=notrunc status=none
      INPUT_FILE "${CPACK_TOPLEVEL_DIRECTORY}/ar-member-mode" RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0 OR NOT _size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${_package}: cannot set the mode of the ar member at ${_at}")
    endif()
    math(EXPR _at "${_at} + 60 + ${_size} + ${_size} % 2")
  endwhile()
endforeach()
