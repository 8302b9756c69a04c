# Writes OUTPUT, a C++ source that defines NAME as the bytes of the binary
# file INPUT (a compiled catalogue) and NAME`Size` as their count, so the
# catalogue ships inside the program. Run as cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Written by cmake/embed_catalogue.cmake from ${INPUT}; do not edit.\n#include <cstddef>\n"
                       "namespace lorvena {\nextern const unsigned char ${NAME}[] = {\n${bytes}0};\n"
                       "extern const size_t ${NAME}Size = ${size};\n}  // namespace lorvena\n")
