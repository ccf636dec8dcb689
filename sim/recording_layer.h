// A recording layer: stands in front of an interface the caller brings in
// place of a simulated module, puts each call of the module into the call
// log, and passes it on unchanged. The caller's module decides every
// result; the log sees the call as the simulation's own calls are seen.
//
// Arguments are recorded by their type, since the layer knows nothing of
// what an operation means: numbers as numbers, texts as texts, the host's
// setup records with their fields, and every other pointer (output
// buffers, objects, arrays) as an opaque handle numbered per kind.
#pragma once

#include <korvane/engine_interfaces.h>
#include <korvane/shell.h>

#include <type_traits>
#include <utility>

#include "sim/call_log.h"

namespace kvsim {

// The kind under which a pointer to T is numbered in the log: the
// simulation's kinds, so that a replaced module's trace reads as its own.
template <typename T>
struct HandleKind {
    static constexpr const char* name = "pointer";
};
template <>
struct HandleKind<kv::Camera> {
    static constexpr const char* name = "camera";
};
template <>
struct HandleKind<kv::Image> {
    static constexpr const char* name = "image";
};
template <>
struct HandleKind<kv::Display> {
    static constexpr const char* name = "display";
};
template <>
struct HandleKind<kv::GameObject> {
    static constexpr const char* name = "object";
};
template <>
struct HandleKind<kv::ConfigDocument> {
    static constexpr const char* name = "document";
};
template <>
struct HandleKind<kv::EnvironmentRecord> {
    static constexpr const char* name = "environmentRecord";
};
template <>
struct HandleKind<kv::EnvironmentState> {
    static constexpr const char* name = "environmentState";
};
template <>
struct HandleKind<kv::MissionSetup> {
    static constexpr const char* name = "missionSetup";
};
template <>
struct HandleKind<kv::TerrainInfo> {
    static constexpr const char* name = "terrainInfo";
};
template <>
struct HandleKind<char> {
    static constexpr const char* name = "buffer";
};

// True when the log writes a const T* with its fields (the setup records).
template <typename T, typename = void>
struct LoggedAsRecord : std::false_type {};
template <typename T>
struct LoggedAsRecord<T, std::void_t<decltype(put(std::declval<TraceText&>(), std::declval<const T*>()))>>
    : std::true_type {};

template <typename T, typename std::enable_if<std::is_arithmetic<T>::value, int>::type = 0>
T logged(T value) {
    return value;
}
inline Text logged(const char* text) { return Text{text}; }
inline Handle logged(kv::CommandHandler handler) {
    return Handle{reinterpret_cast<const void*>(handler), "function"};
}
inline Handle logged(kv::PlayerCallback callback) {
    return Handle{reinterpret_cast<const void*>(callback), "function"};
}
template <typename T>
auto logged(T* pointer) {
    using Bare = typename std::remove_cv<T>::type;
    if constexpr (LoggedAsRecord<Bare>::value)
        return static_cast<const Bare*>(pointer);
    else
        return Handle{pointer, HandleKind<Bare>::name};
}

// What SimHost keeps of each layer it made.
class RecordingLayerBase {
public:
    virtual ~RecordingLayerBase() = default;
};

template <typename I>
class RecordingLayer : public I, public RecordingLayerBase {
public:
    using Interface = I;
    RecordingLayer(CallLog& log, I& inner) : log_(log), inner_(inner) {}

protected:
    // Records op with its arguments, calls the caller's operation, and
    // records what it gave back.
    template <typename R, typename... Params, typename... Args>
    R forward(const char* op, R (I::*operation)(Params...), Args... args) {
        const RecordRef record = log_.call(op, logged(args)...);
        if constexpr (std::is_void<R>::value) {
            (inner_.*operation)(args...);
        } else {
            R result = (inner_.*operation)(args...);
            log_.returns(record, logged(result));
            return result;
        }
    }

    CallLog& log_;
    I& inner_;
};

// The layer that records calls to interface I (sim/recording_interfaces.h).
template <typename I>
struct RecordingLayerFor;

}  // namespace kvsim
