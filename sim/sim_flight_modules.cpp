#include "sim/sim_flight_modules.h"


namespace kvsim {

void SimForceFeedback::ffbLoadEffects(const char* fileName) { call("ffbLoadEffects", text(fileName)); }
void SimForceFeedback::ffbUnloadEffects() { call("ffbUnloadEffects"); }
void SimForceFeedback::ffbSetControlEvent(const kv::ControlEvent* event) {
    call("ffbSetControlEvent", event);
}
void SimForceFeedback::ffbStopEffects() { call("ffbStopEffects"); }

void SimHud::hudInit(const char* dataFileName) { call("hudInit", text(dataFileName)); }
void SimHud::hudShutdown() { call("hudShutdown"); }
void SimHud::hudSetViewPosition(const double* p) { call("hudSetViewPosition", position(p)); }
void SimHud::hudSetViewOrientation(const float* m) { call("hudSetViewOrientation", orientation(m)); }
void SimHud::hudRender() { call("hudRender"); }
void SimHud::hudRenderMap() { call("hudRenderMap"); }

void SimAvionics::avnUpdate() { call("avnUpdate"); }

void SimComm::comInit(const char* dataFileName) { call("comInit", text(dataFileName)); }
void SimComm::comShutdown() { call("comShutdown"); }
void SimComm::comOpenRadioMenu() { call("comOpenRadioMenu"); }
void SimComm::comUpdate(float clampedFrameTime) { call("comUpdate", clampedFrameTime); }
void SimComm::comRender() { call("comRender"); }

void SimOptions::read() {
    document_ = documents_.readOrEmpty(world_.scenario.optionsFile.c_str());
    ++reads;
}

void SimOptions::optReloadOptions() {
    call("optReloadOptions");
    read();
}

kv::ConfigDocument* SimOptions::optGetDocument(kv::ConfigDocument** out) {
    const RecordRef r = call("optGetDocument");
    if (!document_) read();
    if (out) *out = document_.get();
    returns(r, handle(document_.get(), "document"));
    return document_.get();
}

void SimOptions::optReleaseDocument(kv::ConfigDocument** out) {
    call("optReleaseDocument", handle(out ? *out : nullptr, "document"));
    if (out) *out = nullptr;
}

}  // namespace kvsim
