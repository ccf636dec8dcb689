// The flashing cursor of the chat entry line.
#pragma once

#include <cstdint>

namespace kv {

// Adds frameTime to timer and flips visible once for every flashTime the
// timer holds beyond flashTime (a timer of exactly flashTime does not flip).
// A frame of several flash times flips several times; an even number of
// flips leaves the cursor as it was. A flash time of 0 or less, or one that
// is not a number, leaves both alone. A frame time that is not a finite
// non-negative number counts as 0. Always ends, whatever the values.
void advanceCursorFlash(float& timer, int32_t& visible, float flashTime, float frameTime);

}  // namespace kv
