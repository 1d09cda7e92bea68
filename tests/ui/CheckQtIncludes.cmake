# Builds the two include probes in BUILD_DIR: the one with the framework's
# headers must compile, the one that includes <QWidget> must not, for want
# of the header.
function(build_probe target result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_var} ${result} PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

build_probe(ui_framework_include_probe result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "a file of ui/ with only the framework's headers does not compile:\n${output}")
endif()

build_probe(ui_qt_include_probe result output)
if(result EQUAL 0)
  message(FATAL_ERROR "a file of ui/ that includes <QWidget> compiles: Qt is reachable from ui/")
endif()
if(NOT output MATCHES "QWidget: No such file or directory")
  message(FATAL_ERROR "the Qt probe failed for another reason:\n${output}")
endif()
message(STATUS "ui/ cannot include Qt")
