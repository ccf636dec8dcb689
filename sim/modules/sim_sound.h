// Sound and speech. Each gives the results a flight relies on.
#pragma once

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimSound : public NoopSound, SimPart {
public:
    using SimPart::SimPart;
    void sndLoadSound(int32_t* soundId, const char* fileName) override;
    void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) override;
    int32_t sndIsStreamPlaying() override;
    void sndPlayStream(const char* fileName, int32_t loop) override;
    void sndStopStream() override;

    int32_t streamPlaying = 0;
};

class SimSpeech : public NoopSpeech, SimPart {
public:
    using SimPart::SimPart;
};

}  // namespace kvsim
