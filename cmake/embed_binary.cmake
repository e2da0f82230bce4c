# Makes a file of bytes built with the project into a C++ definition, so
# that the program carries it: cmake -DINPUT=FILE -DOUTPUT=FILE -DNAME=kName
# -P embed_binary.cmake writes "extern constexpr unsigned char kName[] =
# {...};" and "extern constexpr std::size_t kNameSize = N;".
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
# Sixteen bytes to a line.
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Made from ${INPUT} by cmake/embed_binary.cmake.\n"
  "#include <cstddef>\n"
  "extern constexpr unsigned char ${NAME}[] = {\n  ${bytes}\n};\n"
  "extern constexpr std::size_t ${NAME}Size = ${size};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
