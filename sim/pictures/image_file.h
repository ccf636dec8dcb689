// Picture files as the stand-in graphics module reads them.
#pragma once

#include <memory>
#include <string>

#include "sim/pictures/picture.h"

namespace kvsim {

// Decodes the picture at path (a native path; PNG, BMP, TGA or JPEG) into
// RGBA pixels; null for a missing, unreadable or damaged file.
std::shared_ptr<const DecodedImage> readImage(const std::string& path);

}  // namespace kvsim
