#include "sim/pictures/screen_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/pictures/picture_text.h"
#include "sim/modules/sim_graphics.h"

namespace kvsim {

namespace {

// Texts drawn without a font of known size.
constexpr float kDefaultTextPixels = 16.0f;

const PictureColor kSkyHigh{0.22f, 0.42f, 0.75f, 1.0f};
const PictureColor kSkyLow{0.62f, 0.76f, 0.92f, 1.0f};
const PictureColor kGround{0.36f, 0.42f, 0.22f, 1.0f};
const PictureColor kCockpitFrame{0.16f, 0.17f, 0.18f, 1.0f};
const PictureColor kMapGround{0.10f, 0.17f, 0.13f, 1.0f};
const PictureColor kMapGrid{0.25f, 0.40f, 0.30f, 1.0f};
const PictureColor kPlayerMark{1.0f, 0.86f, 0.1f, 1.0f};
const PictureColor kObjectMark{0.95f, 0.25f, 0.2f, 1.0f};
const PictureColor kLabel{1.0f, 1.0f, 1.0f, 1.0f};
const PictureColor kMessage{0.55f, 1.0f, 0.55f, 1.0f};
const PictureColor kEntry{1.0f, 1.0f, 0.7f, 1.0f};
const PictureColor kShade{0.0f, 0.0f, 0.0f, 0.45f};

int32_t pixelOf(float fraction, int32_t size) {
    const float p = fraction * static_cast<float>(size);
    if (!std::isfinite(p)) return p > 0 ? size * 4 : -size * 4;
    return static_cast<int32_t>(std::lround(std::clamp(p, -4.0f * size, 5.0f * size)));
}

// Sky above, ground below the horizon the camera sees: a pixel is sky when
// its ray through the camera climbs in world axes.
void drawHorizon(const FlightScreen& screen, Picture& picture) {
    const float* m = screen.orientation;
    const float fov = std::isfinite(screen.fieldOfView) ? std::clamp(screen.fieldOfView, 1.0f, 170.0f) : 60.0f;
    const float halfWidth = std::tan(fov * 3.14159265f / 360.0f);
    const float w = static_cast<float>(picture.width());
    const float h = static_cast<float>(picture.height());
    for (int32_t y = 0; y < picture.height(); ++y) {
        const float sy = (1.0f - 2.0f * (static_cast<float>(y) + 0.5f) / h) * halfWidth * h / w;
        for (int32_t x = 0; x < picture.width(); ++x) {
            const float sx = (2.0f * (static_cast<float>(x) + 0.5f) / w - 1.0f) * halfWidth;
            const float climb = m[2] * sx + m[5] + m[8] * sy;
            const float length = std::sqrt(sx * sx + sy * sy + 1.0f);
            const float height = climb / length;  // the sine of the ray's elevation
            if (height > 0.0f) {
                const float t = std::min(height * 2.0f, 1.0f);
                picture.blend(x, y, {kSkyLow.r + (kSkyHigh.r - kSkyLow.r) * t, kSkyLow.g + (kSkyHigh.g - kSkyLow.g) * t,
                                     kSkyLow.b + (kSkyHigh.b - kSkyLow.b) * t, 1.0f});
            } else {
                picture.blend(x, y, kGround);
            }
        }
    }
}

// The canopy's frame and the instrument panel below it.
void drawCockpit(Picture& picture) {
    const int32_t w = picture.width(), h = picture.height();
    picture.fillRect(0, h * 7 / 10, w, h, kCockpitFrame);
    for (int32_t i = -2; i <= 2; ++i) {
        picture.line(static_cast<float>(w / 2 - w / 3 + i), 0.0f, static_cast<float>(w / 10 + i),
                     static_cast<float>(h * 7 / 10), kCockpitFrame);
        picture.line(static_cast<float>(w / 2 + w / 3 + i), 0.0f, static_cast<float>(w - w / 10 + i),
                     static_cast<float>(h * 7 / 10), kCockpitFrame);
    }
    for (int32_t k = 0; k < 4; ++k) {
        const int32_t left = w / 8 + k * w * 3 / 16;
        picture.frameRect(left, h * 3 / 4, left + w / 8, h * 3 / 4 + w / 8, kLabel);
    }
}

// The map: a square of mapSize across, centred on the player, north up.
void drawMap(const FlightScreen& screen, Picture& picture) {
    const int32_t w = picture.width(), h = picture.height();
    const int32_t side = std::min(w, h);
    const int32_t left = (w - side) / 2, top = (h - side) / 2;
    picture.fillRect(left, top, left + side, top + side, kMapGround);
    for (int32_t k = 1; k < 8; ++k) {
        picture.fillRect(left + side * k / 8, top, left + side * k / 8 + 1, top + side, kMapGrid);
        picture.fillRect(left, top + side * k / 8, left + side, top + side * k / 8 + 1, kMapGrid);
    }
    picture.frameRect(left, top, left + side, top + side, kMapGrid);
    const double size = screen.mapSize > 0.0f && std::isfinite(screen.mapSize) ? screen.mapSize : 0.0;
    const int32_t cx = left + side / 2, cy = top + side / 2;
    const int32_t mark = std::max(side / 80, 3);
    // The player where the map's centre shows it (a map centred on the
    // player shows it in the middle), on top of every other object.
    std::vector<const FlightScreen::Marker*> order;
    for (const FlightScreen::Marker& object : screen.objects)
        if (!object.player) order.push_back(&object);
    for (const FlightScreen::Marker& object : screen.objects)
        if (object.player) order.push_back(&object);
    for (const FlightScreen::Marker* object : order) {
        if (size <= 0.0) break;
        const double east = (object->position[0] - screen.centre[0]) / size;
        const double north = (object->position[1] - screen.centre[1]) / size;
        if (!(std::fabs(east) <= 0.5 && std::fabs(north) <= 0.5)) continue;  // off the map (or no number)
        const auto x = static_cast<int32_t>(std::lround(cx + east * side));
        const auto y = static_cast<int32_t>(std::lround(cy - north * side));
        const PictureColor& color = object->player ? kPlayerMark : kObjectMark;
        picture.fillRect(x - mark, y - mark, x + mark + 1, y + mark + 1, color);
        // The player's mark has a nose pointing north.
        if (object->player) picture.fillRect(x - mark / 3, y - mark * 3, x + mark / 3 + 1, y - mark, color);
    }
}

std::string viewLabel(const FlightScreen& screen) {
    char label[160];
    switch (screen.view) {
        case FlightScreen::View::Map:
            std::snprintf(label, sizeof label, "MAP  %.1f km across", static_cast<double>(screen.mapSize) / 1000.0);
            return label;
        case FlightScreen::View::Cockpit:
            return "COCKPIT";
        case FlightScreen::View::Outside:
            break;
    }
    return screen.viewName.empty() ? "OUTSIDE VIEW" : "OUTSIDE VIEW  " + screen.viewName;
}

void drawTexts(const FlightScreen& screen, Picture& picture) {
    const float line = std::max(static_cast<float>(picture.height()) / 32.0f, 8.0f);
    const float margin = line * 0.5f;
    drawText(picture, viewLabel(screen), static_cast<float>(picture.width()) - margin, margin, line, kAlignRight,
             kLabel);
    float y = margin;
    for (const FlightScreen::Message& message : screen.messages) {
        char left[32];
        std::snprintf(left, sizeof left, "  (%.1f s)", static_cast<double>(message.timeLeft));
        const std::string text = message.text + left;
        const TextBox box = textBox(text, margin, y, line, kAlignLeft);
        picture.fillRect(box.left - 2, box.top, box.right + 2, box.bottom, kShade);
        drawText(picture, text, margin, y, line, kAlignLeft, kMessage);
        y += line * 1.2f;
    }
    if (!screen.entryLine.empty()) {
        const float entryY = static_cast<float>(picture.height()) - margin - line * 1.2f;
        const TextBox box = textBox(screen.entryLine, margin, entryY, line, kAlignLeft);
        picture.fillRect(box.left - 2, box.top, box.right + 2, box.bottom, kShade);
        drawText(picture, screen.entryLine, margin, entryY, line, kAlignLeft, kEntry);
    }
}

}  // namespace

void toPixels(const float* fractions, const Picture& picture, int32_t* pixels) {
    pixels[0] = pixelOf(fractions[0], picture.width());
    pixels[1] = pixelOf(fractions[1], picture.height());
    pixels[2] = pixelOf(fractions[2], picture.width());
    pixels[3] = pixelOf(fractions[3], picture.height());
}

float loadingTextHeight(const ScreenFrame& frame) {
    const int32_t size = frame.textSize < 0 ? -frame.textSize : frame.textSize;
    return size > 0 ? static_cast<float>(size) : kDefaultTextPixels;
}

void drawLoadingScreen(const ScreenFrame& frame, Picture& picture) {
    if (frame.hasPicture && frame.image) {
        // The picture's rectangle is (x, y, width, height).
        const float* r = frame.pictureRect;
        const float corners[4] = {r[0], r[1], r[0] + r[2], r[1] + r[3]};
        int32_t p[4];
        toPixels(corners, picture, p);
        picture.drawImage(*frame.image, p[0], p[1], p[2] - p[0], p[3] - p[1]);
    }
    if (frame.hasBarOutline) {
        int32_t p[4];
        toPixels(frame.barOutline, picture, p);
        picture.frameRect(p[0], p[1], p[2], p[3], PictureColor::of(frame.outlineColor));
    }
    if (frame.hasBarFill) {
        int32_t p[4];
        toPixels(frame.barFill, picture, p);
        picture.fillRect(p[0], p[1], p[2], p[3], PictureColor::of(frame.fillColor));
    }
    const float textHeight = loadingTextHeight(frame);
    for (const ScreenFrame::Text& text : frame.texts) {
        drawText(picture, text.text, text.x * static_cast<float>(picture.width()),
                 text.y * static_cast<float>(picture.height()), textHeight, text.alignment, PictureColor::of(text.color));
    }
}

void drawFlightScreen(const FlightScreen& screen, Picture& picture) {
    if (screen.view == FlightScreen::View::Map) {
        drawMap(screen, picture);
    } else {
        drawHorizon(screen, picture);
        if (screen.view == FlightScreen::View::Cockpit) drawCockpit(picture);
    }
    drawTexts(screen, picture);
}

}  // namespace kvsim
