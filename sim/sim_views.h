// The view manager. Each records every call and gives the results a flight relies on.
#pragma once

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimViews : public kv::ViewsInterface, SimPart {
public:
    using SimPart::SimPart;
    void vmgLoadViewList(const char* fileName) override;
    void vmgUnloadViewList() override;
    int32_t vmgCreateView(const char* name, int32_t objectId, int32_t one) override;
    void vmgSelectView(int32_t view) override;
    void vmgSelectPlayerView(int32_t view) override;
    void vmgHandleCommand(int32_t commandId) override;
    int32_t vmgIsViewCommand(int32_t commandId) override;
    void vmgEnableViewControls(int32_t on) override;
    void vmgUpdate(float rawFrameTime) override;
    int32_t vmgIsCockpitView() override;
    void vmgRenderCockpit(int32_t showCockpit) override;
    float vmgGetFieldOfView() override;
    int32_t vmgGetViewObject() override;
    void vmgGetViewPosition(double* p) override;
    void vmgGetViewVelocity(float* v) override;
    void vmgGetViewOrientation(float* m) override;

    int32_t views = 0;
    int32_t cockpitView = 1;
};

}  // namespace kvsim
