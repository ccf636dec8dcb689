// A picture the stand-in host draws what the player sees into: 8-bit RGB
// pixels, rows top to bottom, written out as PNG. Colours are red, green,
// blue and alpha from 0 to 1, as the module passes them; a colour is
// blended over what lies under it by its alpha.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvsim {

struct PictureColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
    static PictureColor of(const float* rgba) { return {rgba[0], rgba[1], rgba[2], rgba[3]}; }
};

// Decoded pixels of a picture file, four channels (RGBA) a pixel.
struct DecodedImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

class Picture {
public:
    Picture(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // The pixel at (x, y) as 0xRRGGBB; 0 outside the picture.
    uint32_t pixel(int32_t x, int32_t y) const;

    // One pixel, blended; outside the picture nothing happens.
    void blend(int32_t x, int32_t y, const PictureColor& color, float coverage = 1.0f);
    // Pixels left <= x < right, top <= y < bottom, cut to the picture.
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, const PictureColor& color);
    // The one-pixel border of that rectangle.
    void frameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, const PictureColor& color);
    void line(float x0, float y0, float x1, float y1, const PictureColor& color);
    // The image scaled into the rectangle (which may reach past the edges).
    void drawImage(const DecodedImage& image, int32_t left, int32_t top, int32_t width, int32_t height);

    // Writes a PNG file at a native path; false when it cannot be written.
    bool writePng(const std::string& path) const;

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> rgb_;
};

}  // namespace kvsim
