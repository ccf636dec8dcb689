#include "frame/chat_cursor.h"

#include <cmath>

#include "frame/frame_timing.h"

namespace kv {

namespace {

// Frames of up to this many flips count the timer down one flash time at a
// time, in single precision, so every ordinary frame rounds exactly as a
// plain countdown does. Longer frames (a stall, a tiny flash time) take the
// count and the remainder from one division: a countdown would take as many
// passes as there are flips, and none at all ends once the flash time is
// below the timer's last bit.
constexpr double kCursorFlipsCountedDown = 64.0;

}  // namespace

void advanceCursorFlash(float& timer, int32_t& visible, float flashTime, float frameTime) {
    if (!(flashTime > 0.0f)) return;
    const double period = flashTime;
    // In double precision, so two large finite times never add up to infinity.
    const double total = static_cast<double>(timer) + usableTime(frameTime);
    if (!(total > period)) {
        timer = static_cast<float>(total);
        return;
    }
    // flips: the least n with total - n * period <= period.
    double flips = std::ceil(total / period) - 1.0;
    if (flips < 1.0) flips = 1.0;
    const float summed = timer + usableTime(frameTime);
    if (flips <= kCursorFlipsCountedDown && std::isfinite(summed)) {
        timer = summed;
        while (timer > flashTime) {
            timer -= flashTime;
            visible = !visible;
        }
        return;
    }
    double rest = total - flips * period;
    if (rest > period) {
        rest -= period;
        flips += 1.0;
    } else if (rest <= 0.0 && flips > 1.0) {
        rest += period;
        flips -= 1.0;
    }
    // Counts beyond 2^53 are all even in double precision, and their rest is
    // no longer exact: such a flash is far too fast to see either way.
    if (!(rest > 0.0)) rest = 0.0;
    if (rest > period) rest = period;
    timer = static_cast<float>(rest);
    if (std::fmod(flips, 2.0) != 0.0) visible = !visible;
}

}  // namespace kv
