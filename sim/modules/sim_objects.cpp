#include "sim/modules/sim_objects.h"

namespace kvsim {

void* SimGameObject::interfaceOf(int32_t kind) {
    if (!interfaces.count(kind)) return nullptr;
    switch (kind) {
        case kv::kTargetRecordKind: return static_cast<kv::TargetRecord*>(this);
        case kv::kFlightControlsKind: return static_cast<kv::FlightControls*>(this);
        case kv::kBodyKind: return static_cast<kv::Body*>(this);
        case kv::kAircraftKind: return static_cast<kv::Aircraft*>(this);
        case kv::kViewAttachmentKind: return static_cast<kv::ViewAttachment*>(this);
        default: return nullptr;
    }
}

int32_t SimGameObject::objectGetInterface(int32_t kind, void** iface) {
    void* found = interfaceOf(kind);
    if (iface) *iface = found;
    return found ? 1 : 0;
}
int32_t SimGameObject::objectIsActive() {
    // The scenario's player aircraft is lost from its PlayerLostAtFrame on.
    const int32_t lostAt = state_.scenario.playerLostAtFrame;
    const bool lost = id == state_.scenario.playerObject && lostAt > 0 && state_.frame >= lostAt;
    return lost ? 0 : active;
}
int32_t SimGameObject::objectGetRenderFlags() { return renderFlags; }
void SimGameObject::objectSetRenderFlags(int32_t flags) {
    renderFlags = flags;
}
int32_t SimGameObject::targetIsActive() { return active; }
int32_t SimGameObject::controlsGetState(int32_t attribute) {
    auto it = controlStates.find(attribute);
    return it == controlStates.end() ? 0 : it->second;
}
void SimGameObject::bodyGetPosition(double* p) {
    if (p) std::copy(position, position + 3, p);
}
void SimGameObject::bodyGetVelocity(float* v) {
    if (v) std::copy(velocity, velocity + 3, v);
}
void SimGameObject::bodyGetOrientation(float* m) {
    if (m) std::copy(orientation, orientation + 9, m);
}
int32_t SimGameObject::targetGetObjectId() { return targetId; }

SimGameObject& SimObjects::object(int32_t id) {
    auto& slot = objects[id];
    if (!slot) slot = std::make_unique<SimGameObject>(state_, id);
    return *slot;
}

void SimObjects::objInitObjects() {
    std::lock_guard<std::mutex> held(screenMutex);
    // Every flight starts with the same objects.
    objects.clear();
    playerObject = -1;
    const Scenario& scenario = state_.scenario;
    // The player's aircraft and, when the scenario changes aircraft, the
    // next one (id + 1), both cruising north at 1000 m.
    const int32_t aircraftCount = scenario.playerChangesAtFrame > 0 ? 2 : 1;
    for (int32_t n = 0; scenario.playerObject != -1 && n < aircraftCount; ++n) {
        SimGameObject& aircraft = object(scenario.playerObject + n);
        aircraft.interfaces = std::set<int32_t>(scenario.playerInterfaces.begin(), scenario.playerInterfaces.end());
        aircraft.controlStates[SimGameObject::kHasMirror] = scenario.mirrorTexture != -1 ? 1 : 0;
        aircraft.controlStates[SimGameObject::kMirrorTexture] = scenario.mirrorTexture;
        aircraft.controlStates[SimGameObject::kAutoPilot] = 0;
        aircraft.targetId = scenario.target;
        aircraft.position[2] = 1000.0;
        aircraft.velocity[1] = 100.0f;
    }
    if (scenario.target != -1 && scenario.target != scenario.playerObject)
        object(scenario.target).active = scenario.targetActive;
}
void SimObjects::objReleaseObjects() {
    std::lock_guard<std::mutex> held(screenMutex);
    objects.clear();
    playerObject = -1;
}
int32_t SimObjects::objGetFlagByName(const char* name) {
    auto it = name ? state_.objectFlags.find(name) : state_.objectFlags.end();
    return it == state_.objectFlags.end() ? 0 : it->second;
}
kv::GameObject* SimObjects::objGetObject(int32_t objectId) {
    auto it = objects.find(objectId);
    kv::GameObject* result = it == objects.end() ? nullptr : static_cast<kv::GameObject*>(it->second.get());
    return result;
}
int32_t SimObjects::objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) {
    auto it = objects.find(objectId);
    void* found = it == objects.end() ? nullptr : it->second->interfaceOf(kind);
    if (iface) *iface = found;
    return found ? 1 : 0;
}
int32_t SimObjects::objGetPlayerObject() { return playerObject; }
void SimObjects::objSetPlayerObject(int32_t objectId) {
    std::lock_guard<std::mutex> held(screenMutex);
    playerObject = objectId;
}
void SimObjects::objUpdate(float stepTime) {
    std::lock_guard<std::mutex> held(screenMutex);
    for (auto& entry : objects) {
        SimGameObject& object = *entry.second;
        if (!object.active) continue;
        for (int i = 0; i < 3; ++i) object.position[i] += static_cast<double>(object.velocity[i]) * stepTime;
    }
}

}  // namespace kvsim
