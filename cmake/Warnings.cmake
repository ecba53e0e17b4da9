# Every target of ours builds warning-free; a new warning fails the build.
# Program code also forbids implicit char* <-> QString conversions; tests may
# use plain literals in their data tables (pass RELAXED).
function(vellumor_warnings target)
  cmake_parse_arguments(W "RELAXED" "" "" ${ARGN})
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Werror)
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS QT_NO_FOREACH)
  if(NOT W_RELAXED)
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  endif()
endfunction()
