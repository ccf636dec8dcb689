#include "sim/modules/sim_flight_modules.h"


namespace kvsim {





void SimOptions::read() {
    document_ = documents_.readOrEmpty(state_.scenario.optionsFile.c_str());
    ++reads;
}

void SimOptions::optReloadOptions() {
    read();
}

kv::ConfigDocument* SimOptions::optGetDocument(kv::ConfigDocument** out) {
    if (!document_) read();
    if (out) *out = document_.get();
    return document_.get();
}

void SimOptions::optReleaseDocument(kv::ConfigDocument** out) {
    if (out) *out = nullptr;
}

}  // namespace kvsim
