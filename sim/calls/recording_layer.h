// The recording layer: one front per interface and per object handed out,
// built from the table of operations (sim/calls/host_operations.h). A front puts
// each call of the module into the call log and passes it on unchanged to
// whatever implements the interface: the simulation, a caller's module
// (SimHost::replace), or a real host. A call is logged the same way
// whatever stands behind it.
//
// Objects handed out (cameras, images, the display, game objects and
// their interfaces) reach the module behind fronts of their own, one per
// object, so calls on them are recorded too; when the module hands one
// back (gfxSetCamera, gfxDestroyCamera, gfxReleaseImage) the implementation
// gets its own object again.
//
// What the log shows beyond a call's own arguments, and where it comes
// from (the table's helpers below, all learnt from calls the layer saw):
// - cameraApply, gfxSetCamera, gfxApplyCamera: the camera's parameter
//   block, the one its cameraGetParams handed out (the graphics module edits
//   it in place); gfxApplyCamera the camera gfxSetCamera selected.
// - GetInterface: the interface the shell put in the slot.
// - memFree, memReleaseOwner, gfxReleaseImage, gfxDestroyCamera: a pointer
//   given back is forgotten by the log (and memReleaseOwner forgets every
//   block of that owner memAlloc handed out), so an address used again is
//   numbered afresh.
// - netGetGameSettings: the gameplay bytes the record it filled points to.
#pragma once

#include <cstdarg>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <utility>

#include <korvane/engine_interfaces.h>
#include <korvane/shell.h>

#include "sim/calls/call_log.h"
#include "sim/calls/host_operations.h"
#include "sim/modules/sim_text_util.h"

namespace kvsim {

// Marks a row whose arguments are recorded once the call has returned.
struct AfterTheCall {};
#define KV_AFTER_THE_CALL ::kvsim::AfterTheCall{}
// A result the log does not record.
struct Unrecorded {};
#define KV_UNRECORDED ::kvsim::Unrecorded{}
// The presence column of the tag list.
enum class Presence { Always, Optional, WhileLoaded };
#define KV_ALWAYS ::kvsim::Presence::Always
#define KV_OPTIONAL ::kvsim::Presence::Optional
#define KV_WHILE_LOADED ::kvsim::Presence::WhileLoaded

// The eleven gameplay bytes a filled HostGameSettings points to, or null.
struct Gameplay {
    const kv::HostGameSettings* settings;
};
constexpr std::size_t kGameplayBytes = 11;
template <typename W>
void put(W& w, const Gameplay& g) {
    if (!g.settings || !g.settings->gameplay) return w.null();
    w.beginArray();
    for (std::size_t i = 0; i < kGameplayBytes; ++i) put(w, g.settings->gameplay[i]);
    w.endArray();
}

// What the table knows of each interface handed out by tag.
template <typename I>
struct TaggedInterface;
#define KV_TAGGED_INFO(tag_, Interface, Name, OPS, FORMATTED, presence_) \
    template <>                                                          \
    struct TaggedInterface<Interface> {                                  \
        static constexpr const char* tag = #tag_;                        \
        static constexpr Presence presence = presence_;                  \
    };
KV_TAGGED_INTERFACES(KV_TAGGED_INFO)
#undef KV_TAGGED_INFO

class RecordingLayerBase;

// The fronts of one host: the log they write, the fronts of the objects
// handed out, and what the layer learnt from the calls it saw. Safe to
// use from several threads (a screenshot comes from the host's own).
class RecordingLayers {
public:
    explicit RecordingLayers(CallLog& log) : log_(log) {}
    ~RecordingLayers();
    RecordingLayers(const RecordingLayers&) = delete;
    RecordingLayers& operator=(const RecordingLayers&) = delete;

    CallLog& log() { return log_; }

    // A new front for an interface (the caller keeps it).
    template <typename I>
    std::unique_ptr<RecordingLayerBase> front(I& inner);

    // The front of an object handed out; one per object, made on first
    // sight. Null for null.
    template <typename T>
    T* wrap(T* inner);
    // The object behind a front; anything else as it is.
    template <typename T>
    T* unwrap(T* front) const;
    // The front is no longer needed: its object was given back.
    void drop(const void* front);
    // A new flight: the cameras and images of the flight before are gone.
    void beginFlight();

    // The camera block cameraGetParams handed out for a camera's front.
    void keepParams(const kv::Camera* front, const kv::CameraParams* params);
    const kv::CameraParams* paramsOf(const kv::Camera* front) const;
    // gfxSetCamera: the camera from now on; its block, to record.
    const kv::CameraParams* select(const kv::Camera* front);
    const kv::CameraParams* selectedParams() const;

    // The blocks memAlloc handed out, by owner, so memFree and
    // memReleaseOwner can make the log forget them.
    void allocated(const void* block, const char* owner);
    void freed(const void* block);
    void ownerReleased(const char* owner);

private:
    struct Key {
        const std::type_info* type;
        const void* inner;
        bool operator<(const Key& o) const {
            return type != o.type ? type->before(*o.type) : std::less<const void*>()(inner, o.inner);
        }
    };
    struct Wrapped {
        std::unique_ptr<RecordingLayerBase> layer;
        const void* front;
        void* inner;
        bool perFlight;
    };
    template <typename T>
    std::unique_ptr<RecordingLayerBase> make(T& inner);

    CallLog& log_;
    mutable std::recursive_mutex mutex_;
    std::map<Key, Wrapped> wrapped_;
    std::unordered_map<const void*, Key> byFront_;
    std::unordered_map<const void*, const kv::CameraParams*> params_;
    const kv::Camera* selected_ = nullptr;
    std::unordered_map<const void*, std::string> blocks_;
};

// What every front shares: the helpers the table's rows use.
class RecordingLayerBase {
public:
    virtual ~RecordingLayerBase() = default;

protected:
    explicit RecordingLayerBase(RecordingLayers& layers) : layers_(layers), log_(layers.log()) {}

    // An object handed back: the implementation's own.
    template <typename T>
    T* inner(T* front) const {
        return layers_.unwrap(front);
    }

    // A slot holding an object handed out earlier, which the implementation
    // may empty (a release) or fill: it sees its own object, the module
    // gets the front back, and a front whose object is given back goes.
    template <typename T>
    class ObjectSlot {
    public:
        ObjectSlot(RecordingLayers& layers, T** outer)
            : layers_(layers), outer_(outer), front_(outer ? *outer : nullptr), inner_(layers.unwrap(front_)) {}
        ~ObjectSlot() {
            if (!outer_) return;
            if (!inner_ && front_) layers_.drop(front_);
            *outer_ = layers_.wrap(inner_);
        }
        ObjectSlot(const ObjectSlot&) = delete;
        ObjectSlot& operator=(const ObjectSlot&) = delete;
        operator T**() { return outer_ ? &inner_ : nullptr; }

    private:
        RecordingLayers& layers_;
        T** outer_;
        T* front_;
        T* inner_;
    };
    template <typename T>
    ObjectSlot<T> slotOf(T** outer) {
        return ObjectSlot<T>(layers_, outer);
    }

    // The slot an object interface of a kind comes out through.
    class InterfaceSlot {
    public:
        InterfaceSlot(RecordingLayers& layers, int32_t kind, void** outer)
            : layers_(layers), kind_(kind), outer_(outer) {}
        ~InterfaceSlot();
        InterfaceSlot(const InterfaceSlot&) = delete;
        InterfaceSlot& operator=(const InterfaceSlot&) = delete;
        operator void**() { return outer_; }

    private:
        RecordingLayers& layers_;
        int32_t kind_;
        void** outer_;
    };
    InterfaceSlot handedOut(int32_t kind, void** outer) { return InterfaceSlot(layers_, kind, outer); }

    // cameraGetParams: the block is kept for the camera's later records.
    class ParamsSlot {
    public:
        ParamsSlot(RecordingLayers& layers, const kv::Camera* camera, kv::CameraParams** outer)
            : layers_(layers), camera_(camera), outer_(outer) {}
        ~ParamsSlot() {
            if (outer_ && *outer_) layers_.keepParams(camera_, *outer_);
        }
        ParamsSlot(const ParamsSlot&) = delete;
        ParamsSlot& operator=(const ParamsSlot&) = delete;
        operator kv::CameraParams**() { return outer_; }

    private:
        RecordingLayers& layers_;
        const kv::Camera* camera_;
        kv::CameraParams** outer_;
    };
    ParamsSlot keptParams(const kv::Camera* camera, kv::CameraParams** outer) {
        return ParamsSlot(layers_, camera, outer);
    }
    const kv::CameraParams* paramsOf(const kv::Camera* camera) const { return layers_.paramsOf(camera); }
    const kv::CameraParams* selected(const kv::Camera* camera) { return layers_.select(camera); }
    const kv::CameraParams* selectedParams() const { return layers_.selectedParams(); }

    Handle allocated(void* block, const char* owner) {
        layers_.allocated(block, owner);
        return Handle{block, "block"};
    }
    Unrecorded freed(void* block) {
        layers_.freed(block);
        return Unrecorded{};
    }
    Unrecorded ownerReleased(const char* owner) {
        layers_.ownerReleased(owner);
        return Unrecorded{};
    }

    // What the implementation handed out, as the module gets it: an
    // object behind its front, anything else as it is.
    template <typename T>
    T handOut(T value) {
        return value;
    }
    kv::Camera* handOut(kv::Camera* camera) { return layers_.wrap(camera); }
    kv::Image* handOut(kv::Image* image) { return layers_.wrap(image); }
    kv::Display* handOut(kv::Display* display) { return layers_.wrap(display); }
    kv::GameObject* handOut(kv::GameObject* object) { return layers_.wrap(object); }

    // One call: its record, the implementation's call, and its result.
    template <typename R, typename Recorded, typename Call, typename Result>
    R relay(const char* op, Recorded recorded, Call call, Result result) {
        using Arguments = decltype(recorded());
        if constexpr (startsAfterTheCall<Arguments>()) {
            if constexpr (std::is_void<R>::value) {
                call();
                finish(record(op, recorded()), result(nullptr));
            } else {
                R value = handOut(call());
                finish(record(op, recorded()), result(value));
                return value;
            }
        } else {
            const RecordRef r = record(op, recorded());
            if constexpr (std::is_void<R>::value) {
                call();
                finish(r, result(nullptr));
            } else {
                R value = handOut(call());
                finish(r, result(value));
                return value;
            }
        }
    }

    // A variadic message operation: formatted here, passed on as "%s".
    template <typename I>
    void relayFormatted(I& inner, const char* op, void (I::*operation)(const char*, ...), const char* format,
                        va_list args);

    RecordingLayers& layers_;
    CallLog& log_;

private:
    template <typename Tuple>
    static constexpr bool startsAfterTheCall() {
        if constexpr (std::tuple_size<Tuple>::value == 0) {
            return false;
        } else {
            return std::is_same<typename std::tuple_element<0, Tuple>::type, AfterTheCall>::value;
        }
    }
    template <typename... Args>
    RecordRef record(const char* op, const std::tuple<Args...>& args) {
        return std::apply([&](const auto&... a) { return recordArgs(op, a...); }, args);
    }
    template <typename... Args>
    RecordRef recordArgs(const char* op, const AfterTheCall&, const Args&... args) {
        return log_.call(op, args...);
    }
    template <typename... Args>
    RecordRef recordArgs(const char* op, const Args&... args) {
        return log_.call(op, args...);
    }
    void finish(const RecordRef&, Unrecorded) {}
    template <typename T>
    void finish(const RecordRef& r, const T& value) {
        log_.returns(r, value);
    }
};

template <typename I>
class RecordingLayer : public I, public RecordingLayerBase {
public:
    using Interface = I;
    RecordingLayer(RecordingLayers& layers, I& inner) : RecordingLayerBase(layers), inner_(inner) {}

protected:
    I& inner_;
};

// The fronts, one class per interface and object, from the table.
#define KV_RECORDED_OPERATION(R, name, params, pass, recorded, result_, answer)                    \
    R name params override {                                                                        \
        return this->template relay<R>(                                                             \
            #name, [&] { return std::make_tuple recorded; },                                        \
            [&]() -> R { return this->inner_.name pass; },                                          \
            [&]([[maybe_unused]] const auto& result) { return result_; });                          \
    }
#define KV_RECORDED_FORMATTED(name)                                                                 \
    void name(const char* format, ...) override {                                                   \
        va_list args;                                                                               \
        va_start(args, format);                                                                     \
        this->relayFormatted(this->inner_, #name, &Interface::name, format, args);                  \
        va_end(args);                                                                               \
    }
#define KV_RECORDING_CLASS(Interface_, Name, OPS, FORMATTED)                                        \
    class Recording##Name final : public RecordingLayer<Interface_> {                               \
    public:                                                                                         \
        using RecordingLayer::RecordingLayer;                                                       \
        OPS(KV_RECORDED_OPERATION)                                                                  \
        FORMATTED(KV_RECORDED_FORMATTED)                                                            \
    };
#define KV_RECORDING_TAGGED(tag, Interface, Name, OPS, FORMATTED, presence) \
    KV_RECORDING_CLASS(Interface, Name, OPS, FORMATTED)
#define KV_RECORDING_OBJECT(Interface, Name, OPS, kind) KV_RECORDING_CLASS(Interface, Name, OPS, KV_NO_FORMATTED_OPERATIONS)

KV_RECORDING_CLASS(kv::ApplicationShell, Shell, KV_SHELL_OPERATIONS, KV_NO_FORMATTED_OPERATIONS)
KV_TAGGED_INTERFACES(KV_RECORDING_TAGGED)
KV_HANDED_OUT_OBJECTS(KV_RECORDING_OBJECT)

// The front class of an interface or object.
template <typename I>
struct RecordingLayerFor;
#define KV_LAYER_FOR(Interface, Name) \
    template <>                       \
    struct RecordingLayerFor<Interface> { using type = Recording##Name; };
#define KV_LAYER_FOR_TAGGED(tag, Interface, Name, OPS, FORMATTED, presence) KV_LAYER_FOR(Interface, Name)
#define KV_LAYER_FOR_OBJECT(Interface, Name, OPS, kind) KV_LAYER_FOR(Interface, Name)
KV_LAYER_FOR(kv::ApplicationShell, Shell)
KV_TAGGED_INTERFACES(KV_LAYER_FOR_TAGGED)
KV_HANDED_OUT_OBJECTS(KV_LAYER_FOR_OBJECT)
#undef KV_LAYER_FOR_OBJECT
#undef KV_LAYER_FOR_TAGGED
#undef KV_LAYER_FOR
#undef KV_RECORDING_OBJECT
#undef KV_RECORDING_TAGGED
#undef KV_RECORDING_CLASS
#undef KV_RECORDED_FORMATTED
#undef KV_RECORDED_OPERATION

template <typename I>
void RecordingLayerBase::relayFormatted(I& inner, const char* op, void (I::*operation)(const char*, ...),
                                        const char* format, va_list args) {
    const std::string line = formatLine(format, args);
    log_.call(op, Text{format}, line);
    (inner.*operation)("%s", line.c_str());
}

template <typename T>
std::unique_ptr<RecordingLayerBase> RecordingLayers::make(T& inner) {
    return std::make_unique<typename RecordingLayerFor<T>::type>(*this, inner);
}

template <typename I>
std::unique_ptr<RecordingLayerBase> RecordingLayers::front(I& inner) {
    return make(inner);
}

template <typename T>
T* RecordingLayers::wrap(T* inner) {
    if (!inner) return nullptr;
    std::lock_guard<std::recursive_mutex> held(mutex_);
    const Key key{&typeid(T), inner};
    auto it = wrapped_.find(key);
    if (it == wrapped_.end()) {
        std::unique_ptr<RecordingLayerBase> layer = make(*inner);
        T* front = static_cast<typename RecordingLayerFor<T>::type*>(layer.get());
        const bool perFlight = std::is_same<T, kv::Camera>::value || std::is_same<T, kv::Image>::value;
        it = wrapped_.emplace(key, Wrapped{std::move(layer), front, inner, perFlight}).first;
        byFront_.emplace(front, key);
    }
    return static_cast<T*>(const_cast<void*>(it->second.front));
}

template <typename T>
T* RecordingLayers::unwrap(T* front) const {
    if (!front) return nullptr;
    std::lock_guard<std::recursive_mutex> held(mutex_);
    auto it = byFront_.find(static_cast<const void*>(front));
    if (it == byFront_.end() || it->second.type != &typeid(T)) return front;
    return static_cast<T*>(wrapped_.at(it->second).inner);
}

}  // namespace kvsim
