# Reproducible builds: the same source gives the same bytes, whoever builds
# it, wherever and whenever.
#
# - The one time a build embeds (the entries of the archives it packs) is
#   VELKAST_SOURCE_DATE_EPOCH: SOURCE_DATE_EPOCH from the environment when
#   set, else the time of the last commit, else the release date. Never the
#   clock. The build is configured again when a commit is made, so the time
#   follows the source.
# - No path of the source or build folder reaches an output.
# - Windows programs carry no link time in their headers.
# - Folders that installing makes have the same modes whatever the umask.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VELKAST_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
      OUTPUT_VARIABLE VELKAST_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} rev-parse --absolute-git-dir
      OUTPUT_VARIABLE _velkast_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(EXISTS "${_velkast_git_dir}/logs/HEAD")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_velkast_git_dir}/logs/HEAD")
    endif()
  endif()
  if(NOT VELKAST_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    set(VELKAST_SOURCE_DATE_EPOCH 1796558400)  # 2026-12-06 12:00 UTC, the release of 1.0.0.1
  endif()
endif()

add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
if(WIN32)
  add_link_options(LINKER:--no-insert-timestamp)
endif()
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
