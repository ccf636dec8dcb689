#include "sim/sim_views.h"

namespace kvsim {

void SimViews::vmgLoadViewList(const char* fileName) { call("vmgLoadViewList", {text(fileName)}); }
void SimViews::vmgUnloadViewList() { call("vmgUnloadViewList"); }
int32_t SimViews::vmgCreateView(const char* name, int32_t objectId, int32_t one) {
    return returns(call("vmgCreateView", {text(name), objectId, one}), ++views);
}
void SimViews::vmgSelectView(int32_t view) { call("vmgSelectView", {view}); }
void SimViews::vmgSelectPlayerView(int32_t view) { call("vmgSelectPlayerView", {view}); }
void SimViews::vmgHandleCommand(int32_t commandId) { call("vmgHandleCommand", {commandId}); }
int32_t SimViews::vmgIsViewCommand(int32_t commandId) { return returns(call("vmgIsViewCommand", {commandId}), 0); }
void SimViews::vmgEnableViewControls(int32_t on) { call("vmgEnableViewControls", {on}); }
void SimViews::vmgUpdate(float rawFrameTime) { call("vmgUpdate", {rawFrameTime}); }
int32_t SimViews::vmgIsCockpitView() { return returns(call("vmgIsCockpitView"), cockpitView); }
void SimViews::vmgRenderCockpit(int32_t showCockpit) { call("vmgRenderCockpit", {showCockpit}); }
float SimViews::vmgGetFieldOfView() { return returns(call("vmgGetFieldOfView"), 60.0f); }
int32_t SimViews::vmgGetViewObject() { return returns(call("vmgGetViewObject"), world_.playerObjectId); }
void SimViews::vmgGetViewPosition(double* p) {
    call("vmgGetViewPosition");
    if (p) p[0] = p[1] = p[2] = 0.0;
}
void SimViews::vmgGetViewVelocity(float* v) {
    call("vmgGetViewVelocity");
    if (v) v[0] = v[1] = v[2] = 0.0f;
}
void SimViews::vmgGetViewOrientation(float* m) {
    call("vmgGetViewOrientation");
    static const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (m) std::copy(identity, identity + 9, m);
}

}  // namespace kvsim
