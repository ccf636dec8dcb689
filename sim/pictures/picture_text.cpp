#include "sim/pictures/picture_text.h"

#include <cmath>
#include <cstddef>
#include <vector>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

namespace kvsim {

// The font's bytes, generated from the font file when the program is built.
extern const unsigned char kPictureFont[];
extern const std::size_t kPictureFontSize;

namespace {

struct Font {
    bool ready = false;
    stbtt_fontinfo info = {};
    Font() {
        ready = kPictureFontSize > 0 && stbtt_InitFont(&info, kPictureFont, stbtt_GetFontOffsetForIndex(kPictureFont, 0)) != 0;
    }
};

const Font& font() {
    static const Font loaded;
    return loaded;
}

// The code points of a text: UTF-8 where it is well formed, each other byte
// as the Latin-1 character of its value.
std::vector<int> codePoints(const std::string& text) {
    std::vector<int> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
        int point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool wellFormed = length == 1 || i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            wellFormed = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        if (!wellFormed || lead >= 0xF5 || (lead >= 0x80 && lead < 0xC2)) {
            points.push_back(lead);
            ++i;
            continue;
        }
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return points;
}

struct Layout {
    float scale = 0.0f;
    float width = 0.0f;  // in pixels
    float ascent = 0.0f;
    float lineHeight = 0.0f;
};

Layout layoutOf(const std::vector<int>& points, float pixelHeight) {
    Layout layout;
    const stbtt_fontinfo& info = font().info;
    layout.scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
    layout.ascent = static_cast<float>(ascent) * layout.scale;
    layout.lineHeight = static_cast<float>(ascent - descent) * layout.scale;
    for (std::size_t i = 0; i < points.size(); ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, points[i], &advance, &bearing);
        layout.width += static_cast<float>(advance) * layout.scale;
        if (i + 1 < points.size())
            layout.width += static_cast<float>(stbtt_GetCodepointKernAdvance(&info, points[i], points[i + 1])) * layout.scale;
    }
    return layout;
}

bool usableHeight(float pixelHeight) { return std::isfinite(pixelHeight) && pixelHeight >= 1.0f && pixelHeight <= 1000.0f; }

// Where the text's box starts, from the point and the alignment.
void origin(const Layout& layout, float x, float y, int32_t alignment, float* left, float* top) {
    *left = (alignment & kAlignRight) ? x - layout.width : (alignment & kAlignCentre) ? x - layout.width * 0.5f : x;
    *top = (alignment & kAlignMiddle) ? y - layout.lineHeight * 0.5f : y;
}

}  // namespace

std::string textsMissing() {
    if (kPictureFontSize == 0) return "this program was built without a font: pictures show no texts";
    if (!font().ready) return "the built-in font cannot be read: pictures show no texts";
    return "";
}

TextBox textBox(const std::string& text, float x, float y, float pixelHeight, int32_t alignment) {
    TextBox box;
    if (!font().ready || !usableHeight(pixelHeight) || !std::isfinite(x) || !std::isfinite(y)) return box;
    const Layout layout = layoutOf(codePoints(text), pixelHeight);
    float left = 0.0f, top = 0.0f;
    origin(layout, x, y, alignment, &left, &top);
    box.left = static_cast<int32_t>(std::floor(left));
    box.top = static_cast<int32_t>(std::floor(top));
    box.right = static_cast<int32_t>(std::ceil(left + layout.width)) + 1;
    box.bottom = static_cast<int32_t>(std::ceil(top + layout.lineHeight)) + 1;
    return box;
}

void drawText(Picture& picture, const std::string& text, float x, float y, float pixelHeight, int32_t alignment,
              const PictureColor& color) {
    if (!font().ready || !usableHeight(pixelHeight) || !std::isfinite(x) || !std::isfinite(y)) return;
    // Far off the picture nothing would show; skip before any glyph work.
    if (std::fabs(x) > 1e6f || std::fabs(y) > 1e6f) return;
    const stbtt_fontinfo& info = font().info;
    const std::vector<int> points = codePoints(text);
    const Layout layout = layoutOf(points, pixelHeight);
    float left = 0.0f, top = 0.0f;
    origin(layout, x, y, alignment, &left, &top);
    const float baseline = top + layout.ascent;
    float pen = left;
    for (std::size_t i = 0; i < points.size(); ++i) {
        int width = 0, height = 0, xoff = 0, yoff = 0;
        unsigned char* glyph =
            stbtt_GetCodepointBitmap(&info, layout.scale, layout.scale, points[i], &width, &height, &xoff, &yoff);
        const int32_t gx = static_cast<int32_t>(std::lround(pen)) + xoff;
        const int32_t gy = static_cast<int32_t>(std::lround(baseline)) + yoff;
        for (int row = 0; glyph && row < height; ++row)
            for (int col = 0; col < width; ++col) {
                const unsigned char coverage = glyph[row * width + col];
                if (coverage) picture.blend(gx + col, gy + row, color, coverage / 255.0f);
            }
        stbtt_FreeBitmap(glyph, nullptr);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, points[i], &advance, &bearing);
        pen += static_cast<float>(advance) * layout.scale;
        if (i + 1 < points.size())
            pen += static_cast<float>(stbtt_GetCodepointKernAdvance(&info, points[i], points[i + 1])) * layout.scale;
    }
}

}  // namespace kvsim
