# Writes OUTPUT, a C++ source defining g_endgameWeights, from INPUT, a file of little-endian
# 16-bit values. Run as a script by the engine's build: cmake -DINPUT=... -DOUTPUT=... -P ...
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR remainder "${digits} % 4")
if(digits EQUAL 0 OR NOT remainder EQUAL 0)
  message(FATAL_ERROR "${INPUT}: not a whole number of 16-bit values (${digits} hex digits)")
endif()
math(EXPR count "${digits} / 4")
# Each pair of bytes, low first, becomes one value; sixteen to a line.
string(REGEX REPLACE "(..)(..)" "0x\\2\\1," values "${hex}")
string(REGEX REPLACE "((0x....,){16})" "\\1\n" values "${values}")
file(WRITE "${OUTPUT}.new"
  "// Made by EmbedWeights.cmake from ${INPUT}.\n"
  "#include \"engine/EndgameWeights.h\"\n\n"
  "static_assert(${count} == kEndgameWeightCount, \"the weight file holds every table\");\n\n"
  "const std::uint16_t g_endgameWeights[kEndgameWeightCount] = {\n${values}};\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
