# Installing Velkast and packaging it: a .deb on Linux, a ZIP and a 64-bit
# installer on Windows. Included at the end of the top-level CMakeLists.txt,
# so every program target exists by then.
if(WIN32)
  include(cmake/PackagingWindows.cmake)
else()
  include(cmake/PackagingDeb.cmake)
endif()
