// GFX and the objects it hands out: cameras, images and the display.
#pragma once

#include <memory>
#include <vector>

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimCamera final : public kv::Camera, SimPart {
public:
    SimCamera(SimWorld& world, int32_t kind) : SimPart(world), kind(kind) {}
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

class SimImage final : public kv::Image, SimPart {
public:
    using SimPart::SimPart;
    void imageDraw(float x, float y, float width, float height) override;
};

class SimDisplay : public kv::Display, SimPart {
public:
    using SimPart::SimPart;
    void displayGetInfo(kv::DisplayInfo** info) override;
    kv::DisplayInfo info = {};
};

class SimGraphics : public kv::GraphicsInterface, SimPart {
public:
    explicit SimGraphics(SimWorld& world) : SimPart(world), display(world) {}
    int32_t gfxInitDisplay(kv::GraphicsSetup* setup, kv::DisplayOptions* options) override;
    void gfxConfigure(kv::GraphicsSetup* setup) override;
    void gfxReleaseDisplay() override;
    kv::Image* gfxLoadImage(const char* fileName) override;
    void gfxReleaseImage(kv::Image** image) override;
    kv::Camera* gfxCreateCamera(int32_t kind) override;
    void gfxDestroyCamera(kv::Camera** camera) override;
    void gfxSetCamera(kv::Camera* camera) override;
    kv::Display* gfxGetDisplay() override;
    void gfxSetTextureLimit(int32_t resolution) override;
    void gfxEnableTextureLimit(int32_t enable) override;
    void gfxGetTextureSize(int32_t textureId, int32_t* width, int32_t* height) override;
    void gfxSetRenderTarget(int32_t textureId) override;
    void gfxDrawRectFrame(const float* leftTop, const float* rightBottom, const float* color) override;
    void gfxFillRect(const float* leftTop, const float* rightBottom, const float* color) override;
    void gfxSetSceneMode(int32_t mode) override;
    void gfxSetWorldMode(int32_t on) override;
    void gfxSetPassOption(int32_t option) override;
    void gfxSetMirrorPass(int32_t on) override;
    int32_t gfxGetPassOption() override;
    int32_t gfxSaveScreenshot(const char* fileName) override;
    void gfxSetDefaultColor(const int32_t* rgb) override;
    void gfxSetLightingEnable(int32_t on) override;
    void gfxClearBuffers() override;
    void gfxApplyCamera() override;
    void gfxClearDepth() override;
    void gfxBeginFrame() override;
    void gfxEndFrame() override;
    void gfxPresent() override;
    void gfxBeginScene() override;
    void gfxEndScene() override;
    void gfxBeginPass() override;
    void gfxEndPass() override;
    void gfxDrawObjects() override;
    void gfxFlushObjects() override;
    void gfxDrawFarObjects() override;
    void gfxDrawTransparent() override;
    int32_t gfxCreateFont(const kv::FontSettings* font) override;
    void gfxSelectFont(int32_t font) override;
    void gfxSetTextColor(const float* color) override;
    void gfxBeginText() override;
    void gfxEndText() override;
    void gfxDrawText(const char* text, float x, float y, int32_t zero, int32_t alignment) override;

    // Live cameras and images, in order of creation.
    std::vector<std::unique_ptr<SimCamera>> cameras;
    std::vector<std::unique_ptr<SimImage>> images;
    SimDisplay display;
    int32_t initDisplayResult = 1;
    int32_t passOption = 7;
    int32_t fonts = 0;
};

}  // namespace kvsim
