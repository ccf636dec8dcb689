// The shared base of every simulated module: its world and the call log.
#pragma once

#include "sim/sim_world.h"

namespace kvsim {

class SimPart {
public:
    explicit SimPart(SimWorld& world) : world_(world) {}

protected:
    CallRecord& call(const char* op, Json args = Json::array()) {
        return world_.log.call(op, std::move(args));
    }
    template <typename T>
    T returns(CallRecord& record, T value) {
        return world_.log.returns(record, value);
    }
    Json handle(const void* pointer, const char* kind) { return world_.log.handle(pointer, kind); }
    static Json text(const char* s) { return CallLog::text(s); }
    static Json position(const double* p) { return CallLog::position(p); }
    static Json vector3(const float* v) { return CallLog::vector3(v); }
    static Json orientation(const float* m) { return CallLog::orientation(m); }

    SimWorld& world_;
};

}  // namespace kvsim
