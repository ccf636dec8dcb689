#include "sim/modules/sim_views.h"

#include <algorithm>
#include <cctype>

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

void SimViews::select(int32_t view) {
    selections.push_back(nameOf(view));
    hasSelection_ = true;
    selectedName_ = nameOf(view);
    auto object = viewObjects_.find(view);
    selectedObject_ = object == viewObjects_.end() ? -1 : object->second;
}

SimGameObject* SimViews::viewedObject() const {
    if (!objects) return nullptr;
    // Before a view is chosen, and for a view from no object, the view
    // looks from the player's object, as the module set it.
    const int32_t id = hasSelection_ && selectedObject_ != -1 ? selectedObject_ : objects->playerObject;
    auto it = objects->objects.find(id);
    return it == objects->objects.end() ? nullptr : it->second.get();
}

void SimViews::vmgLoadViewList(const char*) {
    viewNames.clear();
    selections.clear();
    viewControlsEnabled = 1;
    viewObjects_.clear();
    hasSelection_ = false;
}
int32_t SimViews::vmgCreateView(const char* name, int32_t objectId, int32_t) {
    const int32_t view = static_cast<int32_t>(viewNames.size()) + 1;
    viewNames[view] = name ? name : "";
    viewObjects_[view] = objectId;
    return view;
}
void SimViews::vmgSelectView(int32_t view) {
    select(view);
}
void SimViews::vmgSelectPlayerView(int32_t view) {
    select(view);
}
void SimViews::vmgHandleCommand(int32_t commandId) {
    if (!isViewCommandId(commandId)) return;
    // A view key switches to that view of the player's aircraft.
    selections.push_back(kViewCommands[commandId - kFirstViewCommandId]);
    hasSelection_ = true;
    selectedName_ = kViewCommands[commandId - kFirstViewCommandId];
    selectedObject_ = -1;
}
int32_t SimViews::vmgIsViewCommand(int32_t commandId) {
    return isViewCommandId(commandId) ? 1 : 0;
}
void SimViews::vmgEnableViewControls(int32_t on) {
    viewControlsEnabled = on;
}
bool SimViews::cockpitShown() const {
    if (cockpitView != -1) return cockpitView != 0;
    std::string name = selectedName_;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return !hasSelection_ || name == "cockpit" || name == "view_cockpit";
}
int32_t SimViews::vmgIsCockpitView() { return cockpitShown() ? 1 : 0; }
float SimViews::vmgGetFieldOfView() { return 60.0f; }
int32_t SimViews::vmgGetViewObject() {
    const SimGameObject* viewed = viewedObject();
    return viewed ? viewed->id : -1;
}
// Without an object to look from, the view stands at the origin, level.
void SimViews::vmgGetViewPosition(double* p) {
    const SimGameObject* viewed = viewedObject();
    for (int i = 0; p && i < 3; ++i) p[i] = viewed ? viewed->position[i] : 0.0;
}
void SimViews::vmgGetViewVelocity(float* v) {
    const SimGameObject* viewed = viewedObject();
    for (int i = 0; v && i < 3; ++i) v[i] = viewed ? viewed->velocity[i] : 0.0f;
}
void SimViews::vmgGetViewOrientation(float* m) {
    static const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const SimGameObject* viewed = viewedObject();
    if (m) std::copy_n(viewed ? viewed->orientation : identity, 9, m);
}

}  // namespace kvsim
