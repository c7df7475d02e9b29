// tick_stub.cpp: the replayer's tick for the mixer's tests: it records the
// output frame at which it ran (from voice 63, which the tests keep running
// at one frame per frame over a long silent sample) and reloads the tick.
#include <vector>

#include "music/replayer.h"

namespace mixer_test {
std::vector<int32_t> tick_frames;
}

namespace music {
void replayer_tick() {
    mixer_test::tick_frames.push_back(voices[63].position);
    song.samples_left = song.samples_per_tick;
}
}  // namespace music
