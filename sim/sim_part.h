// The shared base of every simulated module: its world and the call log.
#pragma once

#include "sim/sim_world.h"

namespace kvsim {

class SimPart {
public:
    explicit SimPart(SimWorld& world) : world_(world) {}

protected:
    template <typename... Args>
    RecordRef call(const char* op, const Args&... args) {
        return world_.log.call(op, args...);
    }
    template <typename T>
    T returns(const RecordRef& record, T value) {
        return world_.log.returns(record, value);
    }
    static Handle handle(const void* pointer, const char* kind) { return Handle{pointer, kind}; }
    static Text text(const char* s) { return Text{s}; }
    static Position position(const double* p) { return Position{p}; }
    static Vector3 vector3(const float* v) { return Vector3{v}; }
    static Orientation orientation(const float* m) { return Orientation{m}; }

    SimWorld& world_;
};

}  // namespace kvsim
