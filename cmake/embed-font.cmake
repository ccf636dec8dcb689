# Writes OUTPUT, a C++ source holding the bytes of FONT as
# kvsim::kPictureFont / kPictureFontSize. Without a FONT (none was found
# when the build was configured) the size is 0 and pictures say they have
# no texts.
set(bytes "")
set(size 0)
if(FONT AND EXISTS "${FONT}")
    file(READ "${FONT}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    # 32 bytes a line keeps the generated file readable for a compiler.
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
endif()
file(WRITE "${OUTPUT}.tmp"
    "// Generated from the picture font at build time; do not edit.\n"
    "#include <cstddef>\n"
    "namespace kvsim {\n"
    "extern const unsigned char kPictureFont[];\n"
    "extern const std::size_t kPictureFontSize;\n"
    "const unsigned char kPictureFont[] = {\n${bytes}0};\n"
    "const std::size_t kPictureFontSize = ${size};\n"
    "}  // namespace kvsim\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
