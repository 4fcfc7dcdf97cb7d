# Writes a C++ source defining shippedSkinPackage() over the bytes of INPUT, to OUTPUT.
# Usage: cmake -DINPUT=<package> -DOUTPUT=<file.cpp> -P embedbytes.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
set(body "")
set(lineChars 64) # 32 bytes per line
set(offset 0)
while(offset LESS hexLength)
    string(SUBSTRING "${hex}" ${offset} ${lineChars} line)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," line "${line}")
    string(APPEND body "    ${line}\n")
    math(EXPR offset "${offset} + ${lineChars}")
endwhile()
file(WRITE "${OUTPUT}.tmp" "// Generated from the packed skins/default at build time; do not edit.
#include \"skin/load/shippedskin.h\"

namespace {

const unsigned char kPackage[] = {
${body}};

} // namespace

QByteArray shippedSkinPackage()
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(kPackage), sizeof(kPackage));
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
