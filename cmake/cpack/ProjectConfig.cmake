# Read by cpack before it makes each package: every time an archive holds
# is the source's (SOURCE_DATE_EPOCH, which the generators honour), never
# the clock's.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_VELKAST_SOURCE_DATE_EPOCH})
endif()
