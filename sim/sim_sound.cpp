#include "sim/sim_sound.h"

namespace kvsim {

void SimSound::sndLoadSoundList(const char* fileName) { call("sndLoadSoundList", text(fileName)); }
void SimSound::sndLoadSound(int32_t* soundId, const char* fileName) {
    call("sndLoadSound", text(fileName));
    // An empty name loads nothing.
    if (soundId) *soundId = fileName && *fileName ? world_.nextSoundId++ : -1;
}
void SimSound::sndReleaseSounds() { call("sndReleaseSounds"); }
void SimSound::sndSetFormat(int32_t bitsPerSample, int32_t sampleFrequency) {
    call("sndSetFormat", bitsPerSample, sampleFrequency);
}
void SimSound::sndStopAllSounds() { call("sndStopAllSounds"); }
void SimSound::sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) {
    call("sndPlaySound", Maybe<int32_t>{playHandle}, soundId, zero);
    if (playHandle && soundId >= 0) *playHandle = soundId;
}
void SimSound::sndPrepare() { call("sndPrepare"); }
void SimSound::sndSetListenerPosition(const double* p) { call("sndSetListenerPosition", position(p)); }
void SimSound::sndSetListenerVelocity(const float* v) { call("sndSetListenerVelocity", vector3(v)); }
void SimSound::sndSetListenerOrientation(const float* m) {
    call("sndSetListenerOrientation", orientation(m));
}
void SimSound::sndUpdate() { call("sndUpdate"); }
int32_t SimSound::sndIsStreamPlaying() { return returns(call("sndIsStreamPlaying"), streamPlaying); }
void SimSound::sndPlayStream(const char* fileName, int32_t loop) {
    call("sndPlayStream", text(fileName), loop);
    streamPlaying = 1;
}
void SimSound::sndStopStream() {
    call("sndStopStream");
    streamPlaying = 0;
}

void SimSpeech::spcLoadSpeechSystem(const char* fileName) { call("spcLoadSpeechSystem", text(fileName)); }
void SimSpeech::spcUnloadSpeechSystem() { call("spcUnloadSpeechSystem"); }
void SimSpeech::spcSetSubtitles(int32_t on) { call("spcSetSubtitles", on); }
void SimSpeech::spcUpdate() { call("spcUpdate"); }

}  // namespace kvsim
