#include "sim/modules/sim_graphics.h"

#include <cstring>

#include "platform/workdir.h"
#include "sim/pictures/image_file.h"
#include "sim/modules/sim_modules.h"
#include "sim/modules/sim_shell.h"

namespace kvsim {

// ---- camera, image, display ----

void SimCamera::cameraGetParams(kv::CameraParams** out) {
    if (out) *out = &params;
}
void SimCamera::cameraSetPosition(const double* p) {
    if (p) std::copy(p, p + 3, this->position);
}
void SimCamera::cameraSetOrientation(const float* m) {
    if (m) std::copy(m, m + 9, this->orientation);
}
void SimCamera::cameraGetPosition(double* p) {
    if (p) std::copy(this->position, this->position + 3, p);
}
void SimCamera::cameraApply() {
    applied = params;
}

void SimImage::imageDraw(float x, float y, float width, float height) {
    ScreenFrame& frame = graphics_.drawing_;
    frame.hasPicture = true;
    frame.picture = file;
    frame.image = pixels;
    frame.pictureWidth = this->width;
    frame.pictureHeight = this->height;
    const float rect[4] = {x, y, width, height};
    std::copy(rect, rect + 4, frame.pictureRect);
}

void SimDisplay::displayGetInfo(kv::DisplayInfo** out) {
    info.threeScreens = state_.scenario.threeScreens;
    if (out) *out = &info;
}

namespace {


void copyRect(const float* leftTop, const float* rightBottom, float* out) {
    out[0] = leftTop[0];
    out[1] = leftTop[1];
    out[2] = rightBottom[0];
    out[3] = rightBottom[1];
}

bool sameFloats(const float* a, const float* b, int count) { return std::memcmp(a, b, sizeof(float) * count) == 0; }

bool displaySide(int32_t side) { return side >= 1 && side <= SimGraphics::kMaxDisplaySide; }

}  // namespace

// ---- GFX ----

bool ScreenFrame::sameAs(const ScreenFrame& o) const {
    if (hasPicture != o.hasPicture || picture != o.picture || image != o.image || !sameFloats(pictureRect, o.pictureRect, 4))
        return false;
    if (hasBarOutline != o.hasBarOutline || !sameFloats(barOutline, o.barOutline, 4) ||
        !sameFloats(outlineColor, o.outlineColor, 4))
        return false;
    if (hasBarFill != o.hasBarFill || !sameFloats(barFill, o.barFill, 4) || !sameFloats(fillColor, o.fillColor, 4))
        return false;
    if (textSize != o.textSize || texts.size() != o.texts.size()) return false;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Text& a = texts[i];
        const Text& b = o.texts[i];
        if (a.text != b.text || a.x != b.x || a.y != b.y || a.alignment != b.alignment || !sameFloats(a.color, b.color, 4))
            return false;
    }
    return true;
}

int32_t SimGraphics::gfxInitDisplay(kv::GraphicsSetup* setup, kv::DisplayOptions*) {
    const bool usable = setup && displaySide(setup->displayWidth) && displaySide(setup->displayHeight);
    {
        std::lock_guard<std::mutex> held(viewMutex_);
        displayWidth = usable ? setup->displayWidth : kDefaultDisplayWidth;
        displayHeight = usable ? setup->displayHeight : kDefaultDisplayHeight;
    }
    // The scenario's failure holds for every flight: the module then stops
    // with "Error Setting Graphics Display!".
    return state_.scenario.failDisplay ? 0 : 1;
}

kv::Image* SimGraphics::gfxLoadImage(const char* fileName) {
    std::shared_ptr<const DecodedImage> pixels = readImage(SimFileManager::findFile(fileName));
    if (!pixels) {
        return nullptr;
    }
    images.push_back(std::make_unique<SimImage>(state_, *this, fileName, std::move(pixels)));
    kv::Image* image = images.back().get();
    return image;
}

void SimGraphics::gfxReleaseImage(kv::Image** image) {
    if (!image || !*image) return;
    images.erase(std::remove_if(images.begin(), images.end(),
                                [&](const std::unique_ptr<SimImage>& i) { return i.get() == *image; }),
                 images.end());
    *image = nullptr;
}

kv::Camera* SimGraphics::gfxCreateCamera(int32_t kind) {
    cameras.push_back(std::make_unique<SimCamera>(state_, kind));
    SimCamera* camera = cameras.back().get();
    camera->params.fieldOfView = 60.0f;
    camera->params.aspectRatio = 1.333333f;
    camera->params.nearClip = 1.0f;
    camera->params.farClip = 10000.0f;
    return camera;
}

void SimGraphics::gfxDestroyCamera(kv::Camera** camera) {
    if (!camera || !*camera) return;
    kv::Camera* target = *camera;
    cameras.erase(std::remove_if(cameras.begin(), cameras.end(),
                                 [&](const std::unique_ptr<SimCamera>& c) {
                                     return static_cast<kv::Camera*>(c.get()) == target;
                                 }),
                  cameras.end());
    if (find(target) == selected_) selected_ = nullptr;
    *camera = nullptr;
}

SimCamera* SimGraphics::find(const kv::Camera* camera) const {
    for (const auto& c : cameras)
        if (static_cast<const kv::Camera*>(c.get()) == camera) return c.get();
    return nullptr;
}

void SimGraphics::gfxSetCamera(kv::Camera* camera) {
    selected_ = find(camera);
}

kv::Display* SimGraphics::gfxGetDisplay() {
    return &display;
}

void SimGraphics::gfxGetTextureSize(int32_t, int32_t* width, int32_t* height) {
    if (width) *width = 256;
    if (height) *height = 256;
}
void SimGraphics::gfxDrawRectFrame(const float* lt, const float* rb, const float* c) {
    if (!lt || !rb) return;
    drawing_.hasBarOutline = true;
    copyRect(lt, rb, drawing_.barOutline);
    if (c) std::copy(c, c + 4, drawing_.barColor);
    if (c) std::copy(c, c + 4, drawing_.outlineColor);
}
void SimGraphics::gfxFillRect(const float* lt, const float* rb, const float* c) {
    if (!lt || !rb) return;
    drawing_.hasBarFill = true;
    copyRect(lt, rb, drawing_.barFill);
    if (c) std::copy(c, c + 4, drawing_.barColor);
    if (c) std::copy(c, c + 4, drawing_.fillColor);
}
int32_t SimGraphics::gfxGetPassOption() { return passOption; }

int32_t SimGraphics::gfxSaveScreenshot(const char* fileName) {
    if (!fileName || !*fileName) return 0;
    char native[1024];
    if (!kv::toNativePath(fileName, native, sizeof native)) return 0;
    // The frame as the module composed it, whatever the name's extension:
    // the graphics module writes its own format.
    if (!writeFlightPicture(native)) return 0;
    std::lock_guard<std::mutex> held(viewMutex_);
    state_.screenshots.push_back(fileName);
    return 1;
}

void SimGraphics::gfxBeginFrame() {
    drawing_ = ScreenFrame();
}
void SimGraphics::gfxPresent() {
    ++framesPresented;
    if (drawing_.empty()) {
        keepViewFrame();
        return;
    }
    lastScreen = drawing_;
    if (onLoadingScreen) onLoadingScreen(lastScreen);
}
int32_t SimGraphics::gfxCreateFont(const kv::FontSettings* font) {
    fonts.push_back(font ? *font : kv::FontSettings{});
    return static_cast<int32_t>(fonts.size());
}
void SimGraphics::gfxSelectFont(int32_t font) {
    const bool known = font >= 1 && static_cast<std::size_t>(font) <= fonts.size();
    drawing_.textSize = known ? fonts[static_cast<std::size_t>(font) - 1].size : 0;
}
void SimGraphics::gfxSetTextColor(const float* c) {
    if (c) std::copy(c, c + 4, drawing_.textColor);
}
void SimGraphics::gfxDrawText(const char* s, float x, float y, int32_t, int32_t alignment) {
    ScreenFrame::Text drawn;
    drawn.text = s ? s : "";
    drawn.x = x;
    drawn.y = y;
    drawn.alignment = alignment;
    std::copy(drawing_.textColor, drawing_.textColor + 4, drawn.color);
    drawing_.texts.push_back(std::move(drawn));
}

void SimGraphics::beginFlight() {
    cameras.clear();
    images.clear();
    selected_ = nullptr;
    fonts.clear();
    drawing_ = ScreenFrame();
    lastScreen = ScreenFrame();
    {
        std::lock_guard<std::mutex> held(viewMutex_);
        lastView_ = ViewFrame();
    }
    framesPresented = 0;
}

}  // namespace kvsim
