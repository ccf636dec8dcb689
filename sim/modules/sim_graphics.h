// GFX and the objects it hands out: cameras, images and the display.
// gfxLoadImage reads real picture files (PNG, BMP, TGA, JPEG), found as
// the file manager finds them, and gives null for a missing or unreadable
// file. The 2D drawing of each frame is kept (ScreenFrame) so a test or the
// host program can show what a player would see.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <korvane/engine_interfaces.h>
#include "sim/pictures/picture.h"
#include "sim/pictures/screen_pictures.h"
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimCamera final : public NoopCamera, SimPart {
public:
    SimCamera(SimState& state, int32_t kind) : SimPart(state), kind(kind) {}
    // The map view looks through a camera of this kind.
    static constexpr int32_t kMapCameraKind = 1;
    void cameraGetParams(kv::CameraParams** params) override;
    void cameraSetPosition(const double* p) override;
    void cameraSetOrientation(const float* m) override;
    void cameraGetPosition(double* p) override;
    void cameraApply() override;

    int32_t kind;
    kv::CameraParams params = {};
    kv::CameraParams applied = {};
    double position[3] = {};
    float orientation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

class SimGraphics;

// A picture read from a real file; it knows its file, size and pixels and
// draws into the graphics module's frame.
class SimImage final : public NoopImage, SimPart {
public:
    SimImage(SimState& state, SimGraphics& graphics, std::string file, std::shared_ptr<const DecodedImage> pixels)
        : SimPart(state), file(std::move(file)), width(pixels->width), height(pixels->height),
          pixels(std::move(pixels)), graphics_(graphics) {}
    void imageDraw(float x, float y, float width, float height) override;

    const std::string file;  // as the module named it
    const int32_t width;
    const int32_t height;
    const std::shared_ptr<const DecodedImage> pixels;

private:
    SimGraphics& graphics_;
};

// The display's facts: displayGetInfo reports the scenario's threeScreens
// in the three-screen word at every call.
class SimDisplay : public NoopDisplay, SimPart {
public:
    using SimPart::SimPart;
    void displayGetInfo(kv::DisplayInfo** info) override;
    kv::DisplayInfo info = {};
};

// What one presented frame showed in 2D: the loading screen's picture, bar
// and captions as a player would see them. Rectangles are (left, top,
// right, bottom) and the picture (x, y, width, height), in fractions of
// the screen as the module passed them; colours are red, green, blue,
// alpha.
struct ScreenFrame {
    struct Text {
        std::string text;
        float x = 0.0f;
        float y = 0.0f;
        int32_t alignment = 0;  // 0x14: ends at x; 0x12: starts at x; both centred on y
        float color[4] = {};
    };
    bool hasPicture = false;
    std::string picture;  // the image's file name
    std::shared_ptr<const DecodedImage> image;  // its pixels
    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    float pictureRect[4] = {};
    bool hasBarOutline = false;
    float barOutline[4] = {};
    bool hasBarFill = false;
    float barFill[4] = {};
    float barColor[4] = {};      // of the last of outline and fill drawn
    float outlineColor[4] = {};  // of the outline
    float fillColor[4] = {};     // of the fill
    std::vector<Text> texts;
    float textColor[4] = {};
    int32_t textSize = 0;  // the selected font's size; 0 without one

    bool empty() const { return !hasPicture && !hasBarOutline && !hasBarFill && texts.empty(); }
    // Whether a player would see the same screen in both.
    bool sameAs(const ScreenFrame& other) const;
};

class SimViews;
class SimObjects;
class SimMessages;

class SimGraphics : public NoopGraphics, SimPart {
public:
    explicit SimGraphics(SimState& state) : SimPart(state), display(state) {}
    int32_t gfxInitDisplay(kv::GraphicsSetup* setup, kv::DisplayOptions* options) override;
    kv::Image* gfxLoadImage(const char* fileName) override;
    void gfxReleaseImage(kv::Image** image) override;
    kv::Camera* gfxCreateCamera(int32_t kind) override;
    void gfxDestroyCamera(kv::Camera** camera) override;
    void gfxSetCamera(kv::Camera* camera) override;
    kv::Display* gfxGetDisplay() override;
    void gfxGetTextureSize(int32_t textureId, int32_t* width, int32_t* height) override;
    void gfxDrawRectFrame(const float* leftTop, const float* rightBottom, const float* color) override;
    void gfxFillRect(const float* leftTop, const float* rightBottom, const float* color) override;
    int32_t gfxGetPassOption() override;
    int32_t gfxSaveScreenshot(const char* fileName) override;
    void gfxBeginFrame() override;
    void gfxPresent() override;
    int32_t gfxCreateFont(const kv::FontSettings* font) override;
    void gfxSelectFont(int32_t font) override;
    void gfxSetTextColor(const float* color) override;
    void gfxDrawText(const char* text, float x, float y, int32_t zero, int32_t alignment) override;

    // Drops the cameras, images, fonts and frames of the flight before.
    void beginFlight();

    // The last presented flight frame as a screenshot shows it: which
    // view, the camera, the objects on the map and the texts on screen.
    FlightScreen flightScreen() const;
    // Writes the picture of the last flight frame (a PNG the size of the
    // display) at a native path; false when it cannot be written.
    bool writeFlightPicture(const std::string& path) const;

    // Live cameras and images, in order of creation.
    std::vector<std::unique_ptr<SimCamera>> cameras;
    std::vector<std::unique_ptr<SimImage>> images;
    SimDisplay display;
    int32_t passOption = 7;
    // Fonts created in this flight, in order; a font's handle is its
    // position plus one.
    std::vector<kv::FontSettings> fonts;
    // The last presented frame that drew anything in 2D (the loading
    // screen), and the count of frames presented in this flight.
    ScreenFrame lastScreen;
    int32_t framesPresented = 0;
    // The display's size as gfxInitDisplay was given it (640x480 until
    // then, and for a size no display has: below 1 or above 8192).
    int32_t displayWidth = kDefaultDisplayWidth;
    int32_t displayHeight = kDefaultDisplayHeight;
    static constexpr int32_t kDefaultDisplayWidth = 640;
    static constexpr int32_t kDefaultDisplayHeight = 480;
    static constexpr int32_t kMaxDisplaySide = 8192;
    // Called at each gfxPresent of a frame that drew a loading screen.
    std::function<void(const ScreenFrame&)> onLoadingScreen;
    // The modules whose state a screenshot shows; SimHost connects them.
    const SimViews* views = nullptr;
    const SimObjects* objects = nullptr;
    const SimMessages* messages = nullptr;

private:
    friend class SimImage;
    SimCamera* find(const kv::Camera* camera) const;

    // The view camera of the last presented frame that drew no loading
    // screen, as it was at gfxPresent.
    struct ViewFrame {
        bool shown = false;
        bool map = false;
        bool cockpit = false;
        std::string viewName;
        float orientation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        double position[3] = {};
        kv::CameraParams params = {};
    };
    void keepViewFrame();

    ScreenFrame drawing_;  // the frame between gfxBeginFrame and gfxPresent
    ViewFrame lastView_;
    // Guards lastView_, the display's size and the screenshots written: the
    // module may take a screenshot from another of the host's threads while
    // a frame presents.
    mutable std::mutex viewMutex_;
    SimCamera* selected_ = nullptr;
};

}  // namespace kvsim
