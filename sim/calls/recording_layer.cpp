#include "sim/calls/recording_layer.h"

#include <vector>

namespace kvsim {

RecordingLayers::~RecordingLayers() = default;

void RecordingLayers::drop(const void* front) {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    auto it = byFront_.find(front);
    if (it == byFront_.end()) return;
    if (selected_ == front) selected_ = nullptr;
    params_.erase(front);
    log_.forget(front);
    // The front goes last: the call that gave its object back may still be
    // on its way out through it.
    std::unique_ptr<RecordingLayerBase> layer = std::move(wrapped_.at(it->second).layer);
    wrapped_.erase(it->second);
    byFront_.erase(it);
}

void RecordingLayers::beginFlight() {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    std::vector<const void*> gone;
    for (const auto& entry : wrapped_)
        if (entry.second.perFlight) gone.push_back(entry.second.front);
    for (const void* front : gone) drop(front);
    selected_ = nullptr;
}

void RecordingLayers::keepParams(const kv::Camera* front, const kv::CameraParams* params) {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    params_[front] = params;
}

const kv::CameraParams* RecordingLayers::paramsOf(const kv::Camera* front) const {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    auto it = params_.find(front);
    return it == params_.end() ? nullptr : it->second;
}

const kv::CameraParams* RecordingLayers::select(const kv::Camera* front) {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    selected_ = front && byFront_.count(front) ? front : nullptr;
    return paramsOf(selected_);
}

const kv::CameraParams* RecordingLayers::selectedParams() const { return paramsOf(selected_); }

void RecordingLayers::allocated(const void* block, const char* owner) {
    if (!block) return;
    std::lock_guard<std::recursive_mutex> held(mutex_);
    blocks_[block] = owner ? owner : "";
}

void RecordingLayers::freed(const void* block) {
    std::lock_guard<std::recursive_mutex> held(mutex_);
    if (blocks_.erase(block) != 0) log_.forget(block);
}

void RecordingLayers::ownerReleased(const char* owner) {
    const std::string name = owner ? owner : "";
    std::lock_guard<std::recursive_mutex> held(mutex_);
    for (auto it = blocks_.begin(); it != blocks_.end();) {
        if (it->second == name) {
            log_.forget(it->first);
            it = blocks_.erase(it);
        } else {
            ++it;
        }
    }
}

RecordingLayerBase::InterfaceSlot::~InterfaceSlot() {
    if (!outer_ || !*outer_) return;
#define KV_WRAP_KIND(Interface, Name, OPS, kind)                                           \
    if ((kind) != 0 && kind_ == (kind)) {                                                  \
        *outer_ = layers_.wrap(static_cast<Interface*>(*outer_));                          \
        return;                                                                            \
    }
    KV_HANDED_OUT_OBJECTS(KV_WRAP_KIND)
#undef KV_WRAP_KIND
}

}  // namespace kvsim
