# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(VELKAST_WERROR)
  add_compile_options(-Werror)
endif()

# Hardening that Debian's build flags would give a packaged binary.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_compile_options(-fstack-protector-strong)
if(WIN32)
  # MinGW's stack protector and fortified functions live in libssp.
  add_link_options(-fstack-protector-strong)
  # Every program is marked aware of terminal servers, so on a Remote
  # Desktop server the system redirects none of its files or settings.
  add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:LINKER:--tsaware>)
else()
  # What Ubuntu's and Fedora's compilers add by default on amd64: probes
  # that keep the stack from jumping over its guard page, and control-flow
  # protection (CET: indirect branches land on marked targets only).
  add_compile_options(-fstack-clash-protection -fcf-protection)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

if(VELKAST_SANITIZE)
  set(_velkast_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_velkast_san})
  add_link_options(${_velkast_san})
endif()

# The fuzz build instruments everything for coverage and checks memory and
# undefined behaviour; only the fuzz targets link libFuzzer's main.
if(VELKAST_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
