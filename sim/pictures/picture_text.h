// Texts in pictures, drawn with the font built into the stand-in host
// (DejaVu Sans, embedded when the program is built). A build made where no
// font was found draws no texts, and says so once through textsMissing().
#pragma once

#include <cstdint>
#include <string>

#include "sim/pictures/picture.h"

namespace kvsim {

// Alignment bits of gfxDrawText as pictures read them: the text ends at
// its point (kAlignRight) or is centred on it (kAlignCentre), else starts
// at it; vertically it is centred on the point (kAlignMiddle), else its
// top is at the point.
constexpr int32_t kAlignCentre = 0x01;
constexpr int32_t kAlignLeft = 0x02;
constexpr int32_t kAlignRight = 0x04;
constexpr int32_t kAlignMiddle = 0x10;

// The pixel box a text takes: left <= x < right, top <= y < bottom.
struct TextBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Why texts are left out of pictures ("" when the font is there).
std::string textsMissing();

// The box the text takes when drawn at (x, y) in pixels with the
// alignment, lines pixelHeight high; an empty box without a font.
TextBox textBox(const std::string& text, float x, float y, float pixelHeight, int32_t alignment);

// Draws the text (UTF-8; other bytes are drawn as Latin-1) inside
// textBox(...); nothing without a font.
void drawText(Picture& picture, const std::string& text, float x, float y, float pixelHeight, int32_t alignment,
              const PictureColor& color);

}  // namespace kvsim
