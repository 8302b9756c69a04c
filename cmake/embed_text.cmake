# Writes OUTPUT, a C++ source that defines each of the NAMES (a list of
# name=file pairs) as a character array holding that file's text, so the
# files ship inside the program. Run as cmake -DOUTPUT=... -DNAMES=... -P.
set(body "// Written by cmake/embed_text.cmake from the files named below; do not edit.\nnamespace lorvena {\n")
foreach(pair IN LISTS NAMES)
  string(REPLACE "=" ";" parts "${pair}")
  list(GET parts 0 name)
  list(GET parts 1 file)
  file(READ "${file}" text)
  string(FIND "${text}" ")embedded\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} holds the raw string's closing sequence")
  endif()
  string(APPEND body "// ${file}\nextern const char ${name}[] = R\"embedded(${text})embedded\";\n")
endforeach()
string(APPEND body "}  // namespace lorvena\n")
file(WRITE "${OUTPUT}" "${body}")
