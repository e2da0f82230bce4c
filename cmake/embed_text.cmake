# Makes a text file of the project into a C++ definition, so that the
# program carries it: cmake -DINPUT=FILE -DOUTPUT=FILE -DNAME=kName
# -DDELIMITER=JS [-DCOMPACT=ON] -P embed_text.cmake
# writes "extern constexpr char kName[] = R"JS(...)JS";" (a raw string: the
# text as it stands). COMPACT, for the style sheet: its comments taken out,
# each line's leading blanks too, and the lines joined.
file(READ "${INPUT}" text)
if(COMPACT)
  string(REGEX REPLACE "/\\*[^*]*\\*+([^/*][^*]*\\*+)*/" "" text "${text}")
  string(REGEX REPLACE "\n[ ]*" "" text "${text}")
else()
  string(REGEX REPLACE "\n$" "" text "${text}")
endif()
string(FIND "${text}" ")${DELIMITER}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds )${DELIMITER}\", which would end it early")
endif()
file(WRITE "${OUTPUT}.new"
  "// Made from ${INPUT} by cmake/embed_text.cmake: edit that file.\n"
  "extern constexpr char ${NAME}[] = R\"${DELIMITER}(${text})${DELIMITER}\";\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
