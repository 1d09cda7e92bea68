# Installing Velkast and packaging it: a .deb on Linux, a ZIP and a 64-bit
# installer on Windows. Included at the end of the top-level CMakeLists.txt,
# so every program target exists by then.

# What every package shares: the source's time in every archive, and
# SHA256SUMS beside the packages. The generators' own files add their
# scripts to these lists before including CPack.
set(CPACK_VELKAST_SOURCE_DATE_EPOCH ${VELKAST_SOURCE_DATE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack/ProjectConfig.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/StagedFiles.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack/Checksums.cmake)

if(WIN32)
  include(cmake/PackagingWindows.cmake)
else()
  include(cmake/PackagingDeb.cmake)
endif()
