# Writes a C++ source that defines `extern const char ${SYMBOL}[]` holding the bytes of
# ${INPUT} followed by a terminating zero.
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P EmbedText.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
set(body "")
set(offset 0)
while(offset LESS length)
    string(SUBSTRING "${hex}" ${offset} 64 chunk)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" chunk "${chunk}")
    string(APPEND body "    \"${chunk}\"\n")
    math(EXPR offset "${offset} + 64")
endwhile()
if(body STREQUAL "")
    set(body "    \"\"\n")
endif()
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${name} at build time.\n"
    "extern const char ${SYMBOL}[];\n"
    "const char ${SYMBOL}[] =\n${body};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
