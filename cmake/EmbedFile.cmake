# Turns a binary file into a C++ byte array, so the program carries the
# file's exact bytes without anyone keeping a hex table by hand.
#   cmake -DINPUT=f -DOUTPUT=f.cpp -DSYMBOL=Name -DSIZE=n -DHEADER=h -P EmbedFile.cmake
# Stops when the file is not SIZE bytes long.
file(SIZE "${INPUT}" actual)
if(NOT actual EQUAL SIZE)
  message(FATAL_ERROR "${INPUT} is ${actual} bytes; the program expects ${SIZE}")
endif()
get_filename_component(NAME "${INPUT}" NAME)
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Made by the build from ${NAME}; edit that file, not this one.\n"
  "#include \"${HEADER}\"\n\n"
  "const unsigned char ${SYMBOL}[${SIZE}] = {\n    ${bytes}\n};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
