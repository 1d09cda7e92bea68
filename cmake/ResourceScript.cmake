# velkast_dialog_tables(<target> <rc-file>)
#
# Makes the C++ tables of the dialogs in a resource script, for systems
# without a resource compiler, and adds them to <target>: a header
# res/DialogTemplates.h (on the target's include path) and its source. For
# every statement
#
#   IDD_SOME_NAME DIALOG x, y, cx, cy        ->  const DIALOG_TEMPLATE g_dlgSomeName
#   IDD_SOME_NAME DLGACCNAMES BEGIN .. END   ->  const DIALOG_ACCESSIBLE_NAME
#                                                g_aSomeNameAccessibleNames[n]
#
# Names and style expressions are copied as they are written, so the C++
# compiler gives them their values from the same definitions the resource
# compiler uses. Only a plain form is understood: STYLE, EXSTYLE, CAPTION and
# FONT lines, then one CONTROL "text", id, "class", style, x, y, cx, cy per
# line, with WS_CHILD and WS_VISIBLE written out; anything else in a dialog
# is an error rather than something silently dropped. Statements of other
# kinds are skipped. Pure CMake, so the build needs no other tool.
#
# The same file is the generator: run with -P it converts one script.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: -DINPUT=<rc> -DOUTPUT_DIR=<dir>
  set(_name "[A-Za-z_][A-Za-z0-9_]*")
  set(_num "-?[0-9]+")
  set(_sep "[ \t]*,[ \t]*")

  function(_rc_fail message)
    message(FATAL_ERROR "${INPUT}:${_line_no}: ${message}")
  endfunction()

  # IDD_MAIN_DIALOG -> MainDialog
  function(_rc_camel id out)
    string(REGEX REPLACE "^IDD_" "" rest "${id}")
    string(TOLOWER "${rest}" rest)
    string(REPLACE "_" ";" words "${rest}")
    set(camel "")
    foreach(word IN LISTS words)
      string(SUBSTRING "${word}" 0 1 first)
      string(SUBSTRING "${word}" 1 -1 tail)
      string(TOUPPER "${first}" first)
      string(APPEND camel "${first}${tail}")
    endforeach()
    set(${out} "${camel}" PARENT_SCOPE)
  endfunction()

  set(_decls "")
  set(_defs "")
  set(_state top)
  set(_depth 0)
  set(_line_no 0)
  file(STRINGS "${INPUT}" _lines)
  foreach(_raw IN LISTS _lines)
    math(EXPR _line_no "${_line_no} + 1")
    string(REGEX REPLACE "^[ \t]*//.*$" "" _line "${_raw}")
    string(STRIP "${_line}" _line)
    if(_line STREQUAL "" OR _line MATCHES "^#")
      continue()
    endif()

    if(_state STREQUAL "top")
      if(_line MATCHES "^(${_name})[ \t]+DIALOG[ \t]+(${_num})${_sep}(${_num})${_sep}(${_num})${_sep}(${_num})$")
        _rc_camel("${CMAKE_MATCH_1}" _camel)
        set(_id "${CMAKE_MATCH_1}")
        set(_place "${CMAKE_MATCH_2}, ${CMAKE_MATCH_3}, ${CMAKE_MATCH_4}, ${CMAKE_MATCH_5}")
        set(_style "")
        set(_exstyle "0")
        set(_caption "")
        set(_font "0, TEXT(\"\")")
        set(_items "")
        set(_state dialog)
      elseif(_line MATCHES "^(${_name})[ \t]+DLGACCNAMES$")
        _rc_camel("${CMAKE_MATCH_1}" _camel)
        set(_names "")
        set(_count 0)
        set(_state names)
      elseif(_line MATCHES "^(BEGIN|{)$")
        set(_state skip)
        set(_depth 1)
      endif()
    elseif(_state STREQUAL "skip")
      if(_line MATCHES "^(BEGIN|{)$")
        math(EXPR _depth "${_depth} + 1")
      elseif(_line MATCHES "^(END|})$")
        math(EXPR _depth "${_depth} - 1")
        if(_depth EQUAL 0)
          set(_state top)
        endif()
      endif()
    elseif(_state STREQUAL "dialog")
      if(_line MATCHES "^STYLE[ \t]+(.+)$")
        set(_style "${CMAKE_MATCH_1}")
      elseif(_line MATCHES "^EXSTYLE[ \t]+(.+)$")
        set(_exstyle "${CMAKE_MATCH_1}")
      elseif(_line MATCHES "^CAPTION[ \t]+\"([^\"]*)\"$")
        set(_caption "${CMAKE_MATCH_1}")
      elseif(_line MATCHES "^FONT[ \t]+([0-9]+)${_sep}\"([^\"]*)\"$")
        set(_font "${CMAKE_MATCH_1}, TEXT(\"${CMAKE_MATCH_2}\")")
      elseif(_line MATCHES "^(BEGIN|{)$")
        if(_style STREQUAL "")
          _rc_fail("a dialog needs its STYLE written out")
        endif()
        set(_state controls)
      else()
        _rc_fail("not understood in a dialog's header: ${_line}")
      endif()
    elseif(_state STREQUAL "controls")
      if(_line MATCHES "^CONTROL[ \t]+\"([^\"]*)\"${_sep}(${_name}|${_num})${_sep}\"([A-Za-z]+)\"${_sep}([^,]+)${_sep}(${_num})${_sep}(${_num})${_sep}(${_num})${_sep}(${_num})$")
        string(APPEND _items "    {${CMAKE_MATCH_2}, TEXT(\"${CMAKE_MATCH_3}\"), TEXT(\"${CMAKE_MATCH_1}\"), "
               "${CMAKE_MATCH_5}, ${CMAKE_MATCH_6}, ${CMAKE_MATCH_7}, ${CMAKE_MATCH_8},\n"
               "     ${CMAKE_MATCH_4}, 0},\n")
        if(NOT _line MATCHES ",[^,]*[ |]WS_CHILD[ |][^,]*,"
           OR NOT _line MATCHES ",[^,]*[ |]WS_VISIBLE[ |][^,]*,")
          _rc_fail("write WS_CHILD and WS_VISIBLE out: the resource compiler adds them, the table would not")
        endif()
      elseif(_line MATCHES "^(END|})$")
        string(APPEND _decls "extern const DIALOG_TEMPLATE g_dlg${_camel};\n")
        string(APPEND _defs
          "namespace {\n"
          "constexpr DIALOG_ITEM_TEMPLATE k${_camel}Items[] = {\n${_items}};\n"
          "}  // namespace\n\n"
          "// ${_id}\n"
          "constinit const DIALOG_TEMPLATE g_dlg${_camel} = {\n"
          "    ${_style},\n"
          "    ${_exstyle},\n"
          "    ${_place},\n"
          "    TEXT(\"${_caption}\"),\n"
          "    ${_font},\n"
          "    k${_camel}Items, std::size(k${_camel}Items),\n"
          "};\n\n")
        set(_state top)
      else()
        _rc_fail("not understood in a dialog's controls: ${_line}")
      endif()
    elseif(_state STREQUAL "names")
      if(_line MATCHES "^(BEGIN|{)$")
        set(_state name_entries)
      else()
        _rc_fail("DLGACCNAMES wants BEGIN")
      endif()
    elseif(_state STREQUAL "name_entries")
      if(_line MATCHES "^(${_name}|${_num})${_sep}L\"([^\"\\\\]*)\\\\0\",?$")
        string(APPEND _names "    {${CMAKE_MATCH_1}, TEXT(\"${CMAKE_MATCH_2}\")},\n")
        math(EXPR _count "${_count} + 1")
      elseif(_line MATCHES "^(END|})$")
        string(APPEND _decls
          "extern const DIALOG_ACCESSIBLE_NAME g_a${_camel}AccessibleNames[${_count}];\n")
        string(APPEND _defs
          "constinit const DIALOG_ACCESSIBLE_NAME g_a${_camel}AccessibleNames[${_count}] = {\n"
          "${_names}};\n\n")
        set(_state top)
      else()
        _rc_fail("a DLGACCNAMES entry is: id, L\"name\\0\"")
      endif()
    endif()
  endforeach()
  if(NOT _state STREQUAL "top")
    _rc_fail("the script ends inside a statement")
  endif()

  get_filename_component(_source "${INPUT}" NAME)
  set(_banner "// Generated from ${_source} by ResourceScript.cmake; do not edit.\n")
  file(WRITE "${OUTPUT_DIR}/res/DialogTemplates.h.new"
    "${_banner}#pragma once\n\n#include \"platform/framework/DialogTemplate.h\"\n\n${_decls}")
  file(WRITE "${OUTPUT_DIR}/DialogTemplates.cpp.new"
    "${_banner}#include <iterator>\n\n#include \"platform/framework/WinUser.h\"\n"
    "#include \"res/DialogTemplates.h\"\n#include \"res/resource.h\"\n\n${_defs}")
  # Unchanged tables keep their time stamps, so nothing is rebuilt for them.
  foreach(_file res/DialogTemplates.h DialogTemplates.cpp)
    file(COPY_FILE "${OUTPUT_DIR}/${_file}.new" "${OUTPUT_DIR}/${_file}" ONLY_IF_DIFFERENT)
    file(REMOVE "${OUTPUT_DIR}/${_file}.new")
  endforeach()
  return()
endif()

function(velkast_dialog_tables target rc_file)
  get_filename_component(input "${rc_file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/dialogs")
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_FILE}")
  add_custom_command(
    OUTPUT "${dir}/DialogTemplates.cpp" "${dir}/res/DialogTemplates.h"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}/res"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT_DIR=${dir} -P "${script}"
    DEPENDS "${input}" "${script}"
    COMMENT "Making the dialog tables of ${rc_file}"
    VERBATIM)
  target_sources(${target} PRIVATE "${dir}/DialogTemplates.cpp" "${dir}/res/DialogTemplates.h")
  target_include_directories(${target} PUBLIC "${dir}")
endfunction()
