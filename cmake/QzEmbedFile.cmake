# Writes OUT: a C++ file that registers the bytes of IN as resource NAME.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Generated from ${IN}; do not edit.\n#include \"host/base/Resources.h\"\n"
  "namespace {\nalignas(16) const unsigned char kData[] = {\n${bytes}0};\n"
  "const qz::TResourceRegistration kReg(\"${NAME}\", kData, ${size});\n}\n")
