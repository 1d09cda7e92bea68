# Run by cpack on the staged tree before it makes the installer: the files
# the installer writes and the uninstaller deletes, as NSIS commands in name
# order, for the installer's script to include. (cpack's own lists follow
# the order in which the file system hands out the staged files, which is
# not the same on every machine, and the installer would differ with it.)
#   <staged tree>-install.nsh     SetOutPath and File for every file
#   <staged tree>-uninstall.nsh   Delete for every file, then RMDir for
#                                 every folder, deepest first
# The installer is for people who use the programs: the library's files for
# developers (dev/) are in the ZIP only.
if(NOT CPACK_GENERATOR STREQUAL "NSIS")
  return()
endif()
set(_root "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE _files RELATIVE "${_root}" "${_root}/*")
list(FILTER _files EXCLUDE REGEX "^dev/")
list(SORT _files)
set(_install "")
set(_uninstall "")
set(_folders "")
set(_current_folder "-")
foreach(_file IN LISTS _files)
  get_filename_component(_folder "${_file}" DIRECTORY)
  string(REPLACE "/" "\\" _folder_win "${_folder}")
  string(REPLACE "/" "\\" _file_win "${_file}")
  if(NOT _folder STREQUAL _current_folder)
    if(_folder STREQUAL "")
      string(APPEND _install "  SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND _install "  SetOutPath \"$INSTDIR\\${_folder_win}\"\n")
    endif()
    set(_current_folder "${_folder}")
    while(NOT _folder STREQUAL "")
      list(APPEND _folders "${_folder_win}")
      get_filename_component(_folder "${_folder}" DIRECTORY)
      string(REPLACE "/" "\\" _folder_win "${_folder}")
    endwhile()
  endif()
  string(APPEND _install "  File \"${_root}/${_file}\"\n")
  string(APPEND _uninstall "  Delete \"$INSTDIR\\${_file_win}\"\n")
endforeach()
list(REMOVE_DUPLICATES _folders)
list(SORT _folders)
list(REVERSE _folders)
foreach(_folder IN LISTS _folders)
  string(APPEND _uninstall "  RMDir \"$INSTDIR\\${_folder}\"\n")
endforeach()
file(WRITE "${_root}-install.nsh" "${_install}  SetOutPath \"$INSTDIR\"\n")
file(WRITE "${_root}-uninstall.nsh" "${_uninstall}")
