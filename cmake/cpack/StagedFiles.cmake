# Run by cpack on the staged tree, last before it packs it, so the archive
# holds the same entries whoever packs it: the modes Debian gives packaged
# files (folders 755, nothing writable but by the owner) whatever the umask
# of the build, and the source's time on every file and folder (for the
# formats that store the times of the files themselves).
file(GLOB_RECURSE _files LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
list(SORT _files)
execute_process(COMMAND chmod -R u+rwX,go+rX,go-w "${CPACK_TEMPORARY_DIRECTORY}"
  RESULT_VARIABLE _modes)
execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${_files} "${CPACK_TEMPORARY_DIRECTORY}"
  RESULT_VARIABLE _times)
if(NOT _modes EQUAL 0 OR NOT _times EQUAL 0)
  message(FATAL_ERROR "could not give the staged files their modes and time")
endif()
