// The object subsystem and its game objects. objInitObjects creates the
// scenario's player aircraft (with the interfaces the scenario gives it and
// the mirror attributes of its flight controls) and its target;
// objReleaseObjects removes every object.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

// A game object with interfaces of kinds 2, 3, 4, 10 and 11; by default it
// has all five.
class SimGameObject final : public NoopGameObject,
                            public NoopTargetRecord,
                            public NoopFlightControls,
                            public NoopBody,
                            public NoopAircraft,
                            public NoopViewAttachment,
                            SimPart {
public:
    SimGameObject(SimState& state, int32_t id) : SimPart(state), id(id) {}
    int32_t objectGetInterface(int32_t kind, void** iface) override;
    int32_t objectIsActive() override;
    int32_t objectGetRenderFlags() override;
    void objectSetRenderFlags(int32_t flags) override;
    int32_t targetIsActive() override;
    int32_t controlsGetState(int32_t attribute) override;
    void bodyGetPosition(double* p) override;
    void bodyGetVelocity(float* v) override;
    void bodyGetOrientation(float* m) override;
    int32_t targetGetObjectId() override;

    // The interface of kind, or null for a kind the object does not have.
    void* interfaceOf(int32_t kind);

    // Flight-controls attributes: whether the cockpit has a mirror, the
    // mirror's texture, the autopilot state.
    static constexpr int32_t kHasMirror = 27;
    static constexpr int32_t kMirrorTexture = 28;
    static constexpr int32_t kAutoPilot = 0x1d;

    int32_t id;
    std::set<int32_t> interfaces = {kv::kTargetRecordKind, kv::kFlightControlsKind, kv::kBodyKind,
                                    kv::kAircraftKind, kv::kViewAttachmentKind};
    int32_t active = 1;
    int32_t renderFlags = 0;
    int32_t targetId = -1;
    std::map<int32_t, int32_t> controlStates;
    double position[3] = {};
    float velocity[3] = {};
    float orientation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

class SimObjects : public NoopObjects, SimPart {
public:
    using SimPart::SimPart;
    void objInitObjects() override;
    void objReleaseObjects() override;
    int32_t objGetFlagByName(const char* name) override;
    kv::GameObject* objGetObject(int32_t objectId) override;
    int32_t objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) override;
    int32_t objGetPlayerObject() override;
    void objSetPlayerObject(int32_t objectId) override;
    void objUpdate(float stepTime) override;

    // Makes (or returns) the object with id.
    SimGameObject& object(int32_t id);
    std::map<int32_t, std::unique_ptr<SimGameObject>> objects;
    int32_t playerObject = -1;
    // Held while the objects come, go or move, and while a screenshot reads
    // them: the module may take a screenshot from another of the host's
    // threads in the middle of a frame.
    mutable std::mutex screenMutex;
};

}  // namespace kvsim
