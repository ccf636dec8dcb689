#include "sim/pictures/image_file.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO_WRITE
#include <stb/stb_image.h>

namespace kvsim {

std::shared_ptr<const DecodedImage> readImage(const std::string& path) {
    if (path.empty()) return nullptr;
    int w = 0, h = 0, channels = 0;
    // A full decode, not only the header: a truncated file is unreadable.
    stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &channels, 4);
    if (!pixels) return nullptr;
    auto image = std::make_shared<DecodedImage>();
    image->width = w;
    image->height = h;
    image->rgba.assign(pixels, pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    stbi_image_free(pixels);
    return image;
}

}  // namespace kvsim
