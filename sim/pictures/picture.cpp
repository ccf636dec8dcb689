#include "sim/pictures/picture.h"

#include <algorithm>
#include <cmath>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

#include <fstream>

namespace kvsim {

namespace {

uint8_t channel(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 1.0f) return 255;
    return static_cast<uint8_t>(std::lround(value * 255.0f));
}

uint8_t mix(uint8_t under, uint8_t over, float alpha) {
    return static_cast<uint8_t>(std::lround(under + (over - under) * alpha));
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

Picture::Picture(int32_t width, int32_t height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      rgb_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0) {}

uint32_t Picture::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

void Picture::blend(int32_t x, int32_t y, const PictureColor& color, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float alpha = std::clamp(color.a, 0.0f, 1.0f) * std::clamp(coverage, 0.0f, 1.0f);
    uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    p[0] = mix(p[0], channel(color.r), alpha);
    p[1] = mix(p[1], channel(color.g), alpha);
    p[2] = mix(p[2], channel(color.b), alpha);
}

void Picture::fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, const PictureColor& color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) blend(x, y, color);
}

void Picture::frameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, const PictureColor& color) {
    if (right <= left || bottom <= top) return;
    fillRect(left, top, right, top + 1, color);
    fillRect(left, bottom - 1, right, bottom, color);
    fillRect(left, top + 1, left + 1, bottom - 1, color);
    fillRect(right - 1, top + 1, right, bottom - 1, color);
}

void Picture::line(float x0, float y0, float x1, float y1, const PictureColor& color) {
    const float length = std::max(std::fabs(x1 - x0), std::fabs(y1 - y0));
    const int32_t steps = std::isfinite(length) ? static_cast<int32_t>(std::min(length, 1e5f)) + 1 : 0;
    for (int32_t i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        blend(static_cast<int32_t>(std::floor(x0 + (x1 - x0) * t)), static_cast<int32_t>(std::floor(y0 + (y1 - y0) * t)),
              color);
    }
}

void Picture::drawImage(const DecodedImage& image, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0) return;
    // A picture stretched to thousands of times the display is a fault of
    // the caller: scale no further than the display's own size allows.
    if (width > 8 * width_ || height > 8 * height_) return;
    std::vector<uint8_t> scaled(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!stbir_resize_uint8(image.rgba.data(), image.width, image.height, 0, scaled.data(), width, height, 0, 4))
        return;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* s = &scaled[(static_cast<std::size_t>(y) * width + x) * 4];
            blend(left + x, top + y, {s[0] / 255.0f, s[1] / 255.0f, s[2] / 255.0f, s[3] / 255.0f});
        }
    }
}

bool Picture::writePng(const std::string& path) const {
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(appendBytes, &png, width_, height_, 3, rgb_.data(), width_ * 3)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

}  // namespace kvsim
