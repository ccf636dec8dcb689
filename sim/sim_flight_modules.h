// Force feedback, the per-flight HUD, avionics and comm modules, and the options module. Each records every call and gives the results a flight relies on.
#pragma once

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimForceFeedback : public kv::ForceFeedbackInterface, SimPart {
public:
    using SimPart::SimPart;
    void ffbLoadEffects(const char* fileName) override;
    void ffbUnloadEffects() override;
    void ffbSetControlEvent(const kv::ControlEvent* event) override;
    void ffbStopEffects() override;
};

class SimHud : public kv::HudInterface, SimPart {
public:
    using SimPart::SimPart;
    void hudInit(const char* dataFileName) override;
    void hudShutdown() override;
    void hudSetViewPosition(const double* p) override;
    void hudSetViewOrientation(const float* m) override;
    void hudRender() override;
    void hudRenderMap() override;
};

class SimAvionics : public kv::AvionicsInterface, SimPart {
public:
    using SimPart::SimPart;
    void avnUpdate() override;
};

class SimComm : public kv::CommInterface, SimPart {
public:
    using SimPart::SimPart;
    void comInit(const char* dataFileName) override;
    void comShutdown() override;
    void comOpenRadioMenu() override;
    void comUpdate(float clampedFrameTime) override;
    void comRender() override;
};

class SimOptions : public kv::OptionsInterface, SimPart {
public:
    using SimPart::SimPart;
    void optReloadOptions() override;
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override;
    void optReleaseDocument(kv::ConfigDocument** document) override;

    // The player options document the options module lends; null for none.
    kv::ConfigDocument* document = nullptr;
};

}  // namespace kvsim
