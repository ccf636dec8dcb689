#include "sim/sim_views.h"

#include <algorithm>

namespace kvsim {

namespace {

constexpr const char* kViewCommands[] = {"VIEW_COCKPIT", "VIEW_CHASE",   "VIEW_PADLOCK",
                                         "VIEW_TOWER",   "VIEW_FLYBY",   "VIEW_TARGET",
                                         "VIEW_NEXT",    nullptr};
// View command identifiers are this base plus the command's index.
constexpr int32_t kFirstViewCommandId = 1000;
constexpr int32_t kViewCommandCount = sizeof kViewCommands / sizeof kViewCommands[0] - 1;

}  // namespace

bool SimViews::isViewCommandId(int32_t id) {
    return id >= kFirstViewCommandId && id < kFirstViewCommandId + kViewCommandCount;
}

const char* const* SimViews::viewCommandNames() { return kViewCommands; }

int32_t SimViews::viewCommandId(const std::string& name) {
    for (int32_t i = 0; i < kViewCommandCount; ++i)
        if (name == kViewCommands[i]) return kFirstViewCommandId + i;
    return -1;
}

std::string SimViews::nameOf(int32_t view) const {
    auto it = viewNames.find(view);
    return it == viewNames.end() ? "(unknown view " + std::to_string(view) + ")" : it->second;
}

void SimViews::vmgLoadViewList(const char* fileName) {
    call("vmgLoadViewList", {text(fileName)});
    viewNames.clear();
    selections.clear();
    viewControlsEnabled = 1;
}
void SimViews::vmgUnloadViewList() { call("vmgUnloadViewList"); }
int32_t SimViews::vmgCreateView(const char* name, int32_t objectId, int32_t one) {
    const int32_t view = static_cast<int32_t>(viewNames.size()) + 1;
    viewNames[view] = name ? name : "";
    return returns(call("vmgCreateView", {text(name), objectId, one}), view);
}
void SimViews::vmgSelectView(int32_t view) {
    call("vmgSelectView", {view});
    selections.push_back(nameOf(view));
}
void SimViews::vmgSelectPlayerView(int32_t view) {
    call("vmgSelectPlayerView", {view});
    selections.push_back(nameOf(view));
}
void SimViews::vmgHandleCommand(int32_t commandId) {
    call("vmgHandleCommand", {commandId});
    if (isViewCommandId(commandId)) selections.push_back(kViewCommands[commandId - kFirstViewCommandId]);
}
int32_t SimViews::vmgIsViewCommand(int32_t commandId) {
    return returns(call("vmgIsViewCommand", {commandId}), isViewCommandId(commandId) ? 1 : 0);
}
void SimViews::vmgEnableViewControls(int32_t on) {
    call("vmgEnableViewControls", {on});
    viewControlsEnabled = on;
}
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
