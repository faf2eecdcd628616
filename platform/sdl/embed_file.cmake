# Writes a C++ source holding the bytes of one file as a constant array, so that the executable
# carries its font and icon with it. Run as: cmake -DINPUT=file -DOUTPUT=source.cpp -DSYMBOL=name -P embed_file.cmake
# A missing input gives an empty array (size 0), so a build without the icon still links.
if(EXISTS "${INPUT}")
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Sixteen bytes to a line keeps the generated source readable and the compiler quick.
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
else()
  set(size 0)
  set(bytes "0")
endif()
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by embed_file.cmake.\n"
  "#include <cstddef>\n"
  "extern const unsigned char ${SYMBOL}[];\n"
  "extern const size_t ${SYMBOL}Size;\n"
  "alignas(16) const unsigned char ${SYMBOL}[] = {\n${bytes}};\n"
  "const size_t ${SYMBOL}Size = ${size};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
