# Writes a C++ source that holds the bytes of a file as an array, so that
# a build for any target can carry a data file without running tools of its own.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=kName -P embed_file.cmake
# defines `const uint8_t kName[]` and `const uint32_t kNameSize`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX MATCHALL "[0-9a-f][0-9a-f]" pairs "${hex}")
set(lines "")
set(line "")
set(count 0)
foreach(pair IN LISTS pairs)
  string(APPEND line "0x${pair},")
  math(EXPR count "${count} + 1")
  if(count EQUAL 16)
    string(APPEND lines "    ${line}\n")
    set(line "")
    set(count 0)
  endif()
endforeach()
if(NOT line STREQUAL "")
  string(APPEND lines "    ${line}\n")
endif()
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
     "// Generated from ${name} by tools/embed_file.cmake at build time.\n"
     "#include <cstdint>\n\n"
     "extern const uint8_t ${SYMBOL}[] = {\n${lines}};\n"
     "extern const uint32_t ${SYMBOL}Size = ${size};\n")
# Replaced only when it changed, so that nothing recompiles needlessly.
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.tmp")
