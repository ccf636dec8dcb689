// Picture files as the stand-in graphics module reads them.
#pragma once

#include <cstdint>
#include <string>

namespace kvsim {

// Decodes the picture at path (a native path; PNG, BMP, TGA or JPEG) and
// gives its size; false for a missing, unreadable or damaged file.
bool readImageSize(const std::string& path, int32_t* width, int32_t* height);

}  // namespace kvsim
