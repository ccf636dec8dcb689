#include "sim/modules/sim_sound.h"

namespace kvsim {

void SimSound::sndLoadSound(int32_t* soundId, const char* fileName) {
    // An empty name loads nothing.
    if (soundId) *soundId = fileName && *fileName ? state_.nextSoundId++ : -1;
}
void SimSound::sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t) {
    if (playHandle && soundId >= 0) *playHandle = soundId;
}
int32_t SimSound::sndIsStreamPlaying() { return streamPlaying; }
void SimSound::sndPlayStream(const char* , int32_t) {
    streamPlaying = 1;
}
void SimSound::sndStopStream() {
    streamPlaying = 0;
}


}  // namespace kvsim
