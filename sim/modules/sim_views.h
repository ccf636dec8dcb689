// The view manager: hands out view handles by name, knows which command
// identifiers are view commands, and records which views were selected.
// Handles are numbered from 1 in each flight (vmgLoadViewList starts one).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_objects.h"
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimViews : public NoopViews, SimPart {
public:
    using SimPart::SimPart;
    void vmgLoadViewList(const char* fileName) override;
    int32_t vmgCreateView(const char* name, int32_t objectId, int32_t one) override;
    void vmgSelectView(int32_t view) override;
    void vmgSelectPlayerView(int32_t view) override;
    void vmgHandleCommand(int32_t commandId) override;
    int32_t vmgIsViewCommand(int32_t commandId) override;
    void vmgEnableViewControls(int32_t on) override;
    int32_t vmgIsCockpitView() override;
    float vmgGetFieldOfView() override;
    int32_t vmgGetViewObject() override;
    void vmgGetViewPosition(double* p) override;
    void vmgGetViewVelocity(float* v) override;
    void vmgGetViewOrientation(float* m) override;

    // The view commands every view list binds, as the control map names
    // them ("VIEW_COCKPIT", "VIEW_CHASE", ...); the command switches to
    // the view of the same name. Null-terminated.
    static const char* const* viewCommandNames();
    // The command identifier of a view command name, or -1 for a name that
    // is no view command. Identifiers of view commands lie in their own
    // range, apart from the controls module's ids of other commands.
    static int32_t viewCommandId(const std::string& name);
    static bool isViewCommandId(int32_t id);

    // What vmgIsCockpitView answers now, without a call of the module.
    bool cockpitShown() const;
    // The selected view's name; "" before any selection.
    const std::string& shownViewName() const { return selectedName_; }

    // The view names of the handles handed out this flight, by handle.
    std::map<int32_t, std::string> viewNames;
    // The views selected this flight, by name, in order: through
    // vmgSelectView, vmgSelectPlayerView or a view command.
    std::vector<std::string> selections;
    // What the last vmgEnableViewControls said; the player's view keys
    // work only while it is 1.
    int32_t viewControlsEnabled = 1;
    // Whether the player looks from the cockpit: -1 follows the selected
    // view (a view named "Cockpit" in any case, or VIEW_COCKPIT, is the
    // cockpit; no selection yet counts as the cockpit); 0 or 1 forces it.
    int32_t cockpitView = -1;
    // The view reports position, velocity and orientation of the object
    // it looks from (the player's aircraft for a view of no particular
    // object); SimHost connects it to its objects.
    SimObjects* objects = nullptr;

private:
    std::string nameOf(int32_t view) const;
    void select(int32_t view);
    SimGameObject* viewedObject() const;

    // Object of each handle handed out this flight.
    std::map<int32_t, int32_t> viewObjects_;
    bool hasSelection_ = false;
    std::string selectedName_;
    int32_t selectedObject_ = -1;
};

}  // namespace kvsim
