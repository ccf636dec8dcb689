// Sound and speech. Each records every call and gives the results a flight relies on.
#pragma once

#include <korvane/engine_interfaces.h>
#include "sim/sim_part.h"

namespace kvsim {

class SimSound : public kv::SoundInterface, SimPart {
public:
    using SimPart::SimPart;
    void sndLoadSoundList(const char* fileName) override;
    void sndLoadSound(int32_t* soundId, const char* fileName) override;
    void sndReleaseSounds() override;
    void sndSetFormat(int32_t bitsPerSample, int32_t sampleFrequency) override;
    void sndStopAllSounds() override;
    void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) override;
    void sndPrepare() override;
    void sndSetListenerPosition(const double* p) override;
    void sndSetListenerVelocity(const float* v) override;
    void sndSetListenerOrientation(const float* m) override;
    void sndUpdate() override;
    int32_t sndIsStreamPlaying() override;
    void sndPlayStream(const char* fileName, int32_t loop) override;
    void sndStopStream() override;

    int32_t streamPlaying = 0;
};

class SimSpeech : public kv::SpeechInterface, SimPart {
public:
    using SimPart::SimPart;
    void spcLoadSpeechSystem(const char* fileName) override;
    void spcUnloadSpeechSystem() override;
    void spcSetSubtitles(int32_t on) override;
    void spcUpdate() override;
};

}  // namespace kvsim
