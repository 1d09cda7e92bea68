# velkast_embed_file(<target> <file> <symbol>)
#
# Builds <file> into <target> as data. A generated source defines
#
#   extern const unsigned char <symbol>[];      // the bytes, then one NUL
#   extern const unsigned long <symbol>_size;   // the byte count, NUL excluded
#
# and is regenerated whenever <file> changes. Declare the two names in a
# header of your own to use them. Pure CMake, so the build needs no other
# tool.
#
# The same file is the generator: run with -P it converts one file.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: -DINPUT=<file> -DOUTPUT=<cpp> -DSYMBOL=<name>
  file(READ "${INPUT}" _hex HEX)
  file(SIZE "${INPUT}" _size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
  string(REPEAT "0x..," 16 _line)
  string(REGEX REPLACE "(${_line})" "\\1\n  " _bytes "${_bytes}")
  get_filename_component(_name "${INPUT}" NAME)
  file(WRITE "${OUTPUT}"
    "// Generated from ${_name} by EmbedFile.cmake; do not edit.\n"
    "extern const unsigned char ${SYMBOL}[];\n"
    "extern const unsigned long ${SYMBOL}_size;\n"
    "const unsigned char ${SYMBOL}[] = {\n  ${_bytes}0x00\n};\n"
    "const unsigned long ${SYMBOL}_size = ${_size}UL;\n")
  return()
endif()

function(velkast_embed_file target file symbol)
  if(NOT symbol MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "velkast_embed_file: '${symbol}' is not a C++ identifier")
  endif()
  get_filename_component(input "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/embed/${symbol}.cpp")
  set(script "${CMAKE_CURRENT_FUNCTION_LIST_FILE}")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${script}"
    DEPENDS "${input}" "${script}"
    COMMENT "Embedding ${file} as ${symbol}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
