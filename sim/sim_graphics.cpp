#include "sim/sim_graphics.h"

#include <fstream>

#include "platform/workdir.h"
#include "sim/record_json.h"

namespace kvsim {

// ---- camera, image, display ----

void SimCamera::cameraGetParams(kv::CameraParams** out) {
    call("cameraGetParams");
    if (out) *out = &params;
}
void SimCamera::cameraSetPosition(const double* p) {
    call("cameraSetPosition", {SimPart::position(p)});
    if (p) std::copy(p, p + 3, this->position);
}
void SimCamera::cameraSetOrientation(const float* m) {
    call("cameraSetOrientation", {SimPart::orientation(m)});
    if (m) std::copy(m, m + 9, this->orientation);
}
void SimCamera::cameraGetPosition(double* p) {
    call("cameraGetPosition");
    if (p) std::copy(this->position, this->position + 3, p);
}
void SimCamera::cameraApply() {
    call("cameraApply", {toJson(&params)});
    applied = params;
}

void SimImage::imageDraw(float x, float y, float width, float height) {
    call("imageDraw", {x, y, width, height});
}

void SimDisplay::displayGetInfo(kv::DisplayInfo** out) {
    call("displayGetInfo");
    if (out) *out = &info;
}

// ---- GFX ----

int32_t SimGraphics::gfxInitDisplay(kv::GraphicsSetup* setup, kv::DisplayOptions* options) {
    return returns(call("gfxInitDisplay", {toJson(setup), toJson(options)}), initDisplayResult);
}
void SimGraphics::gfxConfigure(kv::GraphicsSetup* setup) { call("gfxConfigure", {toJson(setup)}); }
void SimGraphics::gfxReleaseDisplay() { call("gfxReleaseDisplay"); }

kv::Image* SimGraphics::gfxLoadImage(const char* fileName) {
    auto& r = call("gfxLoadImage", {text(fileName)});
    images.push_back(std::make_unique<SimImage>(world_));
    kv::Image* image = images.back().get();
    r.hasResult = true;
    r.result = handle(image, "image");
    return image;
}

void SimGraphics::gfxReleaseImage(kv::Image** image) {
    call("gfxReleaseImage", {image ? handle(*image, "image") : Json(nullptr)});
    if (!image || !*image) return;
    images.erase(std::remove_if(images.begin(), images.end(),
                                [&](const std::unique_ptr<SimImage>& i) { return i.get() == *image; }),
                 images.end());
    world_.log.forget(*image);
    *image = nullptr;
}

kv::Camera* SimGraphics::gfxCreateCamera(int32_t kind) {
    auto& r = call("gfxCreateCamera", {kind});
    cameras.push_back(std::make_unique<SimCamera>(world_, kind));
    SimCamera* camera = cameras.back().get();
    camera->params.fieldOfView = 60.0f;
    camera->params.aspectRatio = 1.333333f;
    camera->params.nearClip = 1.0f;
    camera->params.farClip = 10000.0f;
    r.hasResult = true;
    r.result = handle(static_cast<kv::Camera*>(camera), "camera");
    return camera;
}

void SimGraphics::gfxDestroyCamera(kv::Camera** camera) {
    call("gfxDestroyCamera", {camera ? handle(*camera, "camera") : Json(nullptr)});
    if (!camera || !*camera) return;
    kv::Camera* target = *camera;
    cameras.erase(std::remove_if(cameras.begin(), cameras.end(),
                                 [&](const std::unique_ptr<SimCamera>& c) {
                                     return static_cast<kv::Camera*>(c.get()) == target;
                                 }),
                  cameras.end());
    world_.log.forget(target);
    *camera = nullptr;
}

void SimGraphics::gfxSetCamera(kv::Camera* camera) { call("gfxSetCamera", {handle(camera, "camera")}); }

kv::Display* SimGraphics::gfxGetDisplay() {
    auto& r = call("gfxGetDisplay");
    r.hasResult = true;
    r.result = handle(static_cast<kv::Display*>(&display), "display");
    return &display;
}

void SimGraphics::gfxSetTextureLimit(int32_t resolution) { call("gfxSetTextureLimit", {resolution}); }
void SimGraphics::gfxEnableTextureLimit(int32_t enable) { call("gfxEnableTextureLimit", {enable}); }
void SimGraphics::gfxGetTextureSize(int32_t textureId, int32_t* width, int32_t* height) {
    call("gfxGetTextureSize", {textureId});
    if (width) *width = 256;
    if (height) *height = 256;
}
void SimGraphics::gfxSetRenderTarget(int32_t textureId) { call("gfxSetRenderTarget", {textureId}); }
void SimGraphics::gfxDrawRectFrame(const float* lt, const float* rb, const float* color) {
    call("gfxDrawRectFrame", {lt ? Json{lt[0], lt[1]} : Json(nullptr), rb ? Json{rb[0], rb[1]} : Json(nullptr),
                              color ? Json{color[0], color[1], color[2], color[3]} : Json(nullptr)});
}
void SimGraphics::gfxFillRect(const float* lt, const float* rb, const float* color) {
    call("gfxFillRect", {lt ? Json{lt[0], lt[1]} : Json(nullptr), rb ? Json{rb[0], rb[1]} : Json(nullptr),
                         color ? Json{color[0], color[1], color[2], color[3]} : Json(nullptr)});
}
void SimGraphics::gfxSetSceneMode(int32_t mode) { call("gfxSetSceneMode", {mode}); }
void SimGraphics::gfxSetWorldMode(int32_t on) { call("gfxSetWorldMode", {on}); }
void SimGraphics::gfxSetPassOption(int32_t option) { call("gfxSetPassOption", {option}); }
void SimGraphics::gfxSetMirrorPass(int32_t on) { call("gfxSetMirrorPass", {on}); }
int32_t SimGraphics::gfxGetPassOption() { return returns(call("gfxGetPassOption"), passOption); }

int32_t SimGraphics::gfxSaveScreenshot(const char* fileName) {
    auto& r = call("gfxSaveScreenshot", {text(fileName)});
    if (!fileName || !*fileName) return returns<int32_t>(r, 0);
    char native[1024];
    if (!kv::toNativePath(fileName, native, sizeof native)) return returns<int32_t>(r, 0);
    // A tiny but real image: a 1x1 grey PGM.
    std::ofstream out(native, std::ios::binary);
    out << "P5\n1 1\n255\n" << static_cast<char>(128);
    if (!out) return returns<int32_t>(r, 0);
    world_.screenshots.push_back(fileName);
    return returns<int32_t>(r, 1);
}

void SimGraphics::gfxSetDefaultColor(const int32_t* rgb) {
    call("gfxSetDefaultColor", {rgb ? Json{rgb[0], rgb[1], rgb[2]} : Json(nullptr)});
}
void SimGraphics::gfxSetLightingEnable(int32_t on) { call("gfxSetLightingEnable", {on}); }
void SimGraphics::gfxClearBuffers() { call("gfxClearBuffers"); }
void SimGraphics::gfxApplyCamera() { call("gfxApplyCamera"); }
void SimGraphics::gfxClearDepth() { call("gfxClearDepth"); }
void SimGraphics::gfxBeginFrame() { call("gfxBeginFrame"); }
void SimGraphics::gfxEndFrame() { call("gfxEndFrame"); }
void SimGraphics::gfxPresent() { call("gfxPresent"); }
void SimGraphics::gfxBeginScene() { call("gfxBeginScene"); }
void SimGraphics::gfxEndScene() { call("gfxEndScene"); }
void SimGraphics::gfxBeginPass() { call("gfxBeginPass"); }
void SimGraphics::gfxEndPass() { call("gfxEndPass"); }
void SimGraphics::gfxDrawObjects() { call("gfxDrawObjects"); }
void SimGraphics::gfxFlushObjects() { call("gfxFlushObjects"); }
void SimGraphics::gfxDrawFarObjects() { call("gfxDrawFarObjects"); }
void SimGraphics::gfxDrawTransparent() { call("gfxDrawTransparent"); }
int32_t SimGraphics::gfxCreateFont(const kv::FontSettings* font) {
    return returns(call("gfxCreateFont", {toJson(font)}), ++fonts);
}
void SimGraphics::gfxSelectFont(int32_t font) { call("gfxSelectFont", {font}); }
void SimGraphics::gfxSetTextColor(const float* color) {
    call("gfxSetTextColor", {color ? Json{color[0], color[1], color[2], color[3]} : Json(nullptr)});
}
void SimGraphics::gfxBeginText() { call("gfxBeginText"); }
void SimGraphics::gfxEndText() { call("gfxEndText"); }
void SimGraphics::gfxDrawText(const char* s, float x, float y, int32_t zero, int32_t alignment) {
    call("gfxDrawText", {text(s), x, y, zero, alignment});
}

}  // namespace kvsim
