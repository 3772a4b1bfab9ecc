# cmake -DINPUT=FILE -DOUTPUT=SOURCE -DNAME=SYMBOL -P EmbedFile.cmake
# Writes SOURCE defining `extern const unsigned char SYMBOL[]` and `SYMBOL_size` with FILE's bytes,
# so the program carries FILE with it.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by EmbedFile.cmake.\n#include <cstddef>\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "extern const std::size_t ${NAME}_size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
