#include "sim/image_file.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO_WRITE
#include <stb/stb_image.h>

namespace kvsim {

bool readImageSize(const std::string& path, int32_t* width, int32_t* height) {
    if (path.empty()) return false;
    int w = 0, h = 0, channels = 0;
    // A full decode, not only the header: a truncated file is unreadable.
    stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &channels, 0);
    if (!pixels) return false;
    stbi_image_free(pixels);
    if (width) *width = w;
    if (height) *height = h;
    return true;
}

}  // namespace kvsim
