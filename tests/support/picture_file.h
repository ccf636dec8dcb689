// The smallest picture the stand-in graphics module loads: a 2x2
// uncompressed true-colour TGA.
#pragma once

#include <string>

namespace kvtest {

inline std::string tinyTgaPicture() {
    std::string tga(18, '\0');
    tga[2] = 2;    // uncompressed true colour
    tga[12] = 2;   // width
    tga[14] = 2;   // height
    tga[16] = 24;  // bits per pixel
    tga += std::string(12, '\x7f');
    return tga;
}

}  // namespace kvtest
